#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "output/package/DriverPackage.h"
#include "platform/NativeSystem.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

// osslsigncode, an Authenticode reader independent of ours, verifies the catalogs: signature,
// content digest, and the chain to the certificate given as the trusted CA.
namespace tessaly {
namespace {

using testing::GoldenPath;
using testing::ReadFileBytes;
using testing::RecordingPrompter;
using testing::TempDir;

const std::string kFixtures = TESSALY_PACKAGE_FIXTURES;

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Whether osslsigncode accepts the catalog; its report when it does not.
::testing::AssertionResult Verified(const std::string& catalog, const std::string& caPem) {
    const std::string log = catalog + ".log";
    const int status = std::system(("osslsigncode verify -in " + Quoted(catalog) + " -CAfile " +
                                    Quoted(caPem) + " >" + Quoted(log) + " 2>&1")
                                       .c_str());
    return status == 0 ? ::testing::AssertionSuccess()
                       : ::testing::AssertionFailure() << ReadFileBytes(log);
}

std::string WritePackage(const TempDir& dir, const std::string& name, SigningChoice signing) {
    std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
    std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();
    RecordingPrompter prompter;
    DriverPackageRequest request;
    request.device.ManufCode = "0x10EE";
    request.device.ModelCode = "0x7021";
    request.device.ManufName = "Acme";
    request.device.ModelName = "Counter";
    request.device.InstrumentPrefix = "acme";
    request.outputDirectory = (dir.path() / name).string();
    request.date = 1700000000;
    request.now = 1735689600;
    request.signing = std::move(signing);
    std::filesystem::create_directories(request.outputDirectory);
    const std::optional<DriverPackage> package =
        WriteDriverPackage(request, *files, *crypto, prompter);
    EXPECT_TRUE(package) << (prompter.messages.empty() ? "" : prompter.messages[0].text);
    return package ? package->catalog : std::string();
}

TEST(OsslsigncodeTest, VerifiesThePackagesCatalogs) {
    TempDir dir;
    const std::string signer = kFixtures + "/signer.crt";
    const std::string generated = WritePackage(dir, "generated", {});
    const std::string generatedPem = (dir.path() / "generated.pem").string();
    ASSERT_EQ(std::system(("openssl x509 -inform DER -in " +
                           Quoted(generated.substr(0, generated.size() - 4) + ".cer") + " -out " +
                           Quoted(generatedPem))
                              .c_str()),
              0);
    const std::string pfx = WritePackage(
        dir, "pfx", {SigningSource::Pkcs12, kFixtures + "/signer.pfx", "fixture-password", {}, {}});
    const std::string pem = WritePackage(
        dir, "pem", {SigningSource::KeyAndCertificate, {}, {}, kFixtures + "/signer.key", signer});
    const std::string golden =
        dir.Write("golden.cat", ReadFileBytes(GoldenPath("package_pxi_subsys.cat")));

    EXPECT_TRUE(Verified(generated, generatedPem));
    EXPECT_TRUE(Verified(pfx, signer));
    EXPECT_TRUE(Verified(pem, signer));
    EXPECT_TRUE(Verified(golden, signer));

    // Another certificate of the same key is no trusted signer.
    EXPECT_FALSE(Verified(pfx, kFixtures + "/server.crt"));
    EXPECT_FALSE(Verified(pfx, generatedPem));
    // A changed byte in the list of members breaks the signature.
    std::string bytes = ReadFileBytes(pfx);
    const auto member = bytes.find("a\0c\0m\0e\0.\0i\0n\0f", 0, 15);
    ASSERT_NE(member, std::string::npos);
    bytes[member] = 'A';
    EXPECT_FALSE(Verified(dir.Write("changed.cat", bytes), signer));
}

}  // namespace
}  // namespace tessaly
