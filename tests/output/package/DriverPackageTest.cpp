#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "output/package/Certificate.h"
#include "output/package/Der.h"
#include "output/package/DriverPackage.h"
#include "platform/NativeSystem.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/Wine.h"
#include "tests/output/package/GoldenDevices.h"

namespace tessaly {
namespace {

using testing::FakeFileSystem;
using testing::MatchesGolden;
using testing::ReadFileBytes;
using testing::RecordingPrompter;

constexpr std::int64_t kNov14of2023 = 1700000000;
constexpr std::int64_t kJan1of2025 = 1735689600;
// The fixture certificates are valid from 2024 to 2124, except the expired one (2020).
constexpr const char* kFixtures[] = {"signer.pfx", "signer.key",  "signer.crt",
                                     "other.key",  "expired.crt", "server.crt"};
constexpr const char* kFixturePassword = "fixture-password";

// The seed's folder on a POSIX-like machine, with the user's key files under /keys.
struct Machine {
    FakeFileSystem files{'/'};
    RecordingPrompter prompter;
    std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();

    Machine() {
        files.AddDirectory("/out/abcdefgh");
        files.AddFile("/out/abcdefgh/abcdefgh_NT5.inf", "the seed's file");
        for (const char* name : kFixtures) {
            files.AddFile(std::string("/keys/") + name,
                          ReadFileBytes(std::string(TESSALY_PACKAGE_FIXTURES) + "/" + name));
        }
    }
    std::optional<DriverPackage> Write(const DriverPackageRequest& request) {
        return WriteDriverPackage(request, files, *crypto, prompter);
    }
    std::vector<std::string> PackageFiles() const {
        std::vector<std::string> names;
        for (const std::string& name : files.FileNames()) {
            if (name.rfind("/out/abcdefgh/package/", 0) == 0) {
                names.push_back(name);
            }
        }
        return names;
    }
};

// The golden files' device (the subsystem module of the seed's tests) and dates.
DriverPackageRequest Request(SigningChoice signing = {}) {
    DriverPackageRequest r;
    r.device = testing::GoldenPxiDevice(true);
    r.outputDirectory = "/out/abcdefgh";
    r.driverVersion = "1.2.3.4";
    r.date = kNov14of2023;
    r.now = kJan1of2025;
    r.signing = std::move(signing);
    return r;
}

SigningChoice Pfx(std::string path = "/keys/signer.pfx", std::string password = kFixturePassword) {
    return {SigningSource::Pkcs12, std::move(path), std::move(password), {}, {}};
}

SigningChoice KeyPair(std::string key, std::string certificate) {
    return {SigningSource::KeyAndCertificate, {}, {}, std::move(key), std::move(certificate)};
}

// With the same certificate and key and the same date, every run writes the same bytes, on
// every system: the golden catalog is one such run.
void ExpectGoldenPackage(const SigningChoice& signing) {
    Machine machine;
    const std::optional<DriverPackage> package = machine.Write(Request(signing));
    ASSERT_TRUE(package) << machine.prompter.Texts().at(0);
    EXPECT_TRUE(machine.prompter.messages.empty());
    EXPECT_EQ(machine.PackageFiles(),
              (std::vector<std::string>{"/out/abcdefgh/package/abcdefgh.cat",
                                        "/out/abcdefgh/package/abcdefgh.inf"}));
    EXPECT_TRUE(MatchesGolden("package_pxi_subsys.inf", machine.files.Contents(package->inf)));
    EXPECT_TRUE(MatchesGolden("package_pxi_subsys.cat", machine.files.Contents(package->catalog)));
    EXPECT_EQ(package->thumbprint, "698000DEFE5BFB9F56F5899BD2E58E649CDAB7D3");
    // Windows shows the names in reverse order of encoding; this one encodes CN first.
    EXPECT_EQ(package->subject, "C=DE, O=Tessaly Test Instruments, CN=Tessaly Test Signer");
    EXPECT_FALSE(package->generatedCertificate);
    EXPECT_EQ(package->hardwareIds,
              std::vector<std::string>{"PCI\\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678"});
    EXPECT_EQ(machine.files.Contents("/out/abcdefgh/abcdefgh_NT5.inf"), "the seed's file");
}

TEST(DriverPackageTest, TheUsersKeyAndCertificateGiveTheGoldenPackage) {
    ExpectGoldenPackage(KeyPair("/keys/signer.key", "/keys/signer.crt"));
}

TEST(DriverPackageTest, TheUsersPfxGivesTheGoldenPackage) {
    if (testing::RunningUnderWine()) {
        GTEST_SKIP() << "Wine 8's CryptAcquireCertificatePrivateKey does not reach the key that "
                        "PFXImportCertStore keeps in memory (PKCS12_NO_PERSIST_KEY)";
    }
    ExpectGoldenPackage(Pfx());
}

TEST(DriverPackageTest, GeneratesACodeSigningCertificatePerPackage) {
    Machine machine;
    const std::optional<DriverPackage> first = machine.Write(Request());
    const std::optional<DriverPackage> second = machine.Write(Request());
    ASSERT_TRUE(first && second);
    const std::string& certificate = machine.files.Contents("/out/abcdefgh/package/abcdefgh.cer");
    EXPECT_EQ(certificate, second->certificate);
    EXPECT_NE(first->certificate, second->certificate);
    EXPECT_NE(first->thumbprint, second->thumbprint);
    EXPECT_NE(machine.files.Contents(second->catalog).find(certificate), std::string::npos);

    const std::optional<CertificateInfo> info = ParseCertificate(certificate);
    ASSERT_TRUE(info);
    EXPECT_TRUE(IsForCodeSigning(*info));
    EXPECT_EQ(info->subjectText, "CN=Caf\xE9 \"Labs\" 100% abcdefgh driver package");
    EXPECT_EQ(second->subject, info->subjectText);
    EXPECT_EQ(info->notBefore, kJan1of2025 - 86400);
    EXPECT_EQ(der::ToCivil(info->notAfter).year, 2044);
    // RSA 3072: a modulus of 384 bytes, after the sign byte.
    EXPECT_NE(info->publicKeyInfo.find(std::string("\x02\x82\x01\x81\x00", 5)), std::string::npos);
    EXPECT_TRUE(second->generatedCertificate);
}

// A package is complete or absent: whatever stopped it, none of its files is left, the earlier
// package's neither, and the seed's files are untouched.
TEST(DriverPackageTest, BadInputWritesNoPackage) {
    struct Case {
        const char* name;
        SigningChoice signing;
        std::vector<std::string> expected;  // parts of the one message
        std::function<void(DriverPackageRequest&)> change = nullptr;
    };
    const Case kCases[] = {
        {"wrong password",
         Pfx("/keys/signer.pfx", "guess"),
         {"the password does not open /keys/signer.pfx"}},
        {"unreadable file", Pfx("/keys/missing.pfx"), {"/keys/missing.pfx cannot be read"}},
        {"a folder for a file", Pfx("/keys"), {"/keys is not a file"}},
        {"no PKCS #12 file", Pfx("/keys/signer.crt"), {"/keys/signer.crt is not a PKCS #12"}},
        {"key of another certificate",
         KeyPair("/keys/other.key", "/keys/signer.crt"),
         {"the key in /keys/other.key does not belong to the certificate in /keys/signer.crt"}},
        {"no key",
         KeyPair("/keys/signer.crt", "/keys/signer.crt"),
         {"/keys/signer.crt holds no private key"}},
        {"no certificate",
         KeyPair("/keys/signer.key", "/keys/signer.key"),
         {"/keys/signer.key holds no certificate"}},
        {"expired",
         KeyPair("/keys/signer.key", "/keys/expired.crt"),
         {"the certificate in /keys/expired.crt expired on 2021-01-01"}},
        {"not yet valid",
         KeyPair("/keys/signer.key", "/keys/signer.crt"),
         {"/keys/signer.crt is not valid before 2024-01-01"},
         [](DriverPackageRequest& r) { r.now = kNov14of2023; }},
        {"no code-signing usage",
         KeyPair("/keys/signer.key", "/keys/server.crt"),
         {"the certificate in /keys/server.crt is not for code signing"}},
        {"no prefix",
         {},
         {"named by the instrument prefix, which is empty"},
         [](DriverPackageRequest& r) { r.device.InstrumentPrefix.clear(); }},
        {"driver version",
         {},
         {"the driver version 1.2.3 is not of the form a.b.c.d"},
         [](DriverPackageRequest& r) { r.driverVersion = "1.2.3"; }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Machine machine;
        DriverPackageRequest request = Request(c.signing);
        if (c.change) {
            c.change(request);
        }
        for (const char* old : {".inf", ".cat", ".cer"}) {
            machine.files.AddFile("/out/abcdefgh/package/" + request.device.InstrumentPrefix + old,
                                  "earlier run");
        }
        EXPECT_FALSE(machine.Write(request));
        EXPECT_EQ(machine.PackageFiles(), std::vector<std::string>{});
        ASSERT_EQ(machine.prompter.messages.size(), 1u);
        EXPECT_EQ(machine.prompter.messages[0].icon, MessageIcon::Stop);
        for (const std::string& part : c.expected) {
            EXPECT_NE(machine.prompter.messages[0].text.find(part), std::string::npos)
                << machine.prompter.messages[0].text;
        }
        EXPECT_EQ(machine.files.Contents("/out/abcdefgh/abcdefgh_NT5.inf"), "the seed's file");
    }
}

TEST(DriverPackageTest, AFailedSaveLeavesNoPackage) {
    // The certificate file is written only when it was generated.
    const std::pair<const char*, SigningChoice> kCases[] = {
        {"abcdefgh.cat", KeyPair("/keys/signer.key", "/keys/signer.crt")},
        {"abcdefgh.cer", {}},
        {"abcdefgh.inf", KeyPair("/keys/signer.key", "/keys/signer.crt")}};
    for (const auto& [blocked, signing] : kCases) {
        SCOPED_TRACE(blocked);
        Machine machine;
        machine.files.AddDirectory("/out/abcdefgh/package");
        machine.files.LockFile(std::string("/out/abcdefgh/package/") + blocked);
        EXPECT_FALSE(machine.Write(Request(signing)));
        EXPECT_EQ(machine.PackageFiles(), std::vector<std::string>{});
        EXPECT_EQ(
            machine.prompter.Texts(),
            std::vector<std::string>{"Unable to save the driver package: /out/abcdefgh/package/" +
                                     std::string(blocked) + " cannot be written."});
        EXPECT_EQ(machine.prompter.messages.at(0).icon, MessageIcon::Stop);
    }
}

}  // namespace
}  // namespace tessaly
