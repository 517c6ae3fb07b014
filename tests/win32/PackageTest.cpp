// Driver packages against Windows' own readers (Wine in the cross build): wintrust reads the
// catalog, setupapi installs the INF for a root-enumerated device, crypt32 keeps the trust.
// The golden package was made on Linux; the same bytes come from this build (package_tests).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "output/package/DriverPackage.h"
#include "platform/NativeSystem.h"
#include "system/win32/Win32DriverStore.h"
#include "system/win32/Win32Platform.h"
#include "system/win32/WindowsApi.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"
// After windows.h, whose types it uses.
#include <wincrypt.h>

namespace tessaly {
namespace {

using testing::GoldenPath;
using testing::ReadFileBytes;
using testing::RecordingPrompter;
using testing::TempDir;

const std::string kGoldenId = "PCI\\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678";

struct ToolRun {
    int status = -1;
    std::string output;
};

// Runs a test tool with its standard output in a file.
ToolRun RunTool(const std::string& tool, const std::vector<std::string>& arguments) {
    TempDir dir;
    const std::string outputPath = (dir.path() / "output.txt").string();
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = ::CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, 0, nullptr);
    std::string line = "\"" + tool + "\"";
    for (const std::string& argument : arguments) {
        line += " \"" + argument + "\"";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    ToolRun run;
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 0;
        ::GetExitCodeProcess(process.hProcess, &status);
        run.status = static_cast<int>(status);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(output);
    run.output = ReadFileBytes(outputPath);
    return run;
}

// A root-enumerated test device, removed again at the end (and first, after a run that died).
class TestDevice {
public:
    explicit TestDevice(std::string id) : id_(std::move(id)) {
        RunTool(TESSALY_PNP_PROBE, {"remove", id_});
        EXPECT_EQ(RunTool(TESSALY_PNP_PROBE, {"create", id_}).status, 0) << id_;
    }
    ~TestDevice() { EXPECT_EQ(RunTool(TESSALY_PNP_PROBE, {"remove", id_}).status, 0) << id_; }
    // The description Windows gives the device: the model its driver's INF names.
    std::string Description() const {
        const ToolRun run = RunTool(TESSALY_PNP_PROBE, {"describe", id_});
        return run.output.substr(0, run.output.find('\n'));
    }
    std::string Describe() const { return RunTool(TESSALY_PNP_PROBE, {"describe", id_}).output; }

private:
    std::string id_;
};

// The golden package in a folder of its own.
std::filesystem::path GoldenPackage(const TempDir& dir, const std::string& inf) {
    const std::filesystem::path folder = dir.path() / "package";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "abcdefgh.inf", std::ios::binary) << inf;
    std::ofstream(folder / "abcdefgh.cat", std::ios::binary)
        << ReadFileBytes(GoldenPath("package_pxi_subsys.cat"));
    return folder;
}

TEST(PackageReadersTest, WintrustFindsTheInfMemberAndItsDigest) {
    TempDir dir;
    const std::string inf = ReadFileBytes(GoldenPath("package_pxi_subsys.inf"));
    const std::filesystem::path folder = GoldenPackage(dir, inf);
    const std::string catalog = (folder / "abcdefgh.cat").string();
    const ToolRun same =
        RunTool(TESSALY_CATALOG_PROBE, {catalog, (folder / "abcdefgh.inf").string()});
    EXPECT_EQ(same.status, 0) << same.output;

    // One changed byte, and the digest no longer matches.
    std::string changed = inf;
    changed[changed.find("PnpLockdown=1") + 12] = '0';
    const std::filesystem::path other = dir.path() / "changed";
    std::filesystem::create_directories(other);
    std::ofstream(other / "abcdefgh.inf", std::ios::binary) << changed;
    const ToolRun differs =
        RunTool(TESSALY_CATALOG_PROBE, {catalog, (other / "abcdefgh.inf").string()});
    EXPECT_EQ(differs.status, 1) << differs.output;
}

TEST(PackageReadersTest, ThisBuildsPackageReadsTheSame) {
    TempDir dir;
    std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
    std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();
    RecordingPrompter prompter;
    DriverPackageRequest request;
    request.device.InstrumentPrefix = "made";
    request.outputDirectory = dir.path().string();
    request.date = 1700000000;
    request.now = 1735689600;
    const std::optional<DriverPackage> package =
        WriteDriverPackage(request, *files, *crypto, prompter);
    ASSERT_TRUE(package) << prompter.Texts().at(0);
    const ToolRun run = RunTool(TESSALY_CATALOG_PROBE, {package->catalog, package->inf});
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST(PackageSetupTest, SetupInstallsThePackageForTheDevice) {
    TempDir dir;
    const std::filesystem::path folder =
        GoldenPackage(dir, ReadFileBytes(GoldenPath("package_pxi_subsys.inf")));
    const TestDevice device(kGoldenId);
    Win32DriverStore store;
    EXPECT_TRUE(store.InstallPackage((folder / "abcdefgh.inf").string(),
                                     (folder / "abcdefgh.cat").string(), {kGoldenId}));
    const std::string described = device.Describe();
    EXPECT_EQ(described.substr(0, described.find('\n')), "5 \xB5s Timer") << described;
    EXPECT_NE(described.find("class=visaPxiDevice\n"), std::string::npos) << described;
    EXPECT_NE(described.find("service=corbelk\n"), std::string::npos) << described;
}

// Setup accepts undecorated models too, so a copy of the INF gives every models section its own
// description: the device shows the x64 one.
TEST(PackageSetupTest, SixtyFourBitSetupChoosesTheAmd64Models) {
    ASSERT_TRUE(Win32DriverStore().Is64BitWindows());
    std::string inf = ReadFileBytes(GoldenPath("package_pxi_subsys.inf"));
    const std::string id = "PCI\\VEN_ABCD&DEV_1235&SUBSYS_9ABC5678";
    for (std::size_t at = inf.find("DEV_1234"); at != std::string::npos;
         at = inf.find("DEV_1234")) {
        inf.replace(at, 8, "DEV_1235");
    }
    const std::string model = "%abcdefgh.DeviceDescN%=abcdefgh.Cfg," + id + "\r\n";
    for (const char* architecture : {"NTx86", "NTarm64"}) {
        const std::string section = std::string("[PCIList.") + architecture + "]\r\n";
        inf.replace(inf.find(section) + section.size(), model.size(),
                    "%" + std::string(architecture) + "%=abcdefgh.Cfg," + id + "\r\n");
    }
    inf.replace(inf.find("[PCIList.NTx86]"), 0,
                "[PCIList]\r\n%Undecorated%=abcdefgh.Cfg," + id + "\r\n\r\n");
    inf += "NTx86=\"x86 models\"\r\nNTarm64=\"ARM64 models\"\r\nUndecorated=\"undecorated\"\r\n";

    TempDir dir;
    const std::filesystem::path folder = GoldenPackage(dir, inf);
    const TestDevice device(id);
    EXPECT_TRUE(Win32DriverStore().InstallPackage((folder / "abcdefgh.inf").string(),
                                                  (folder / "abcdefgh.cat").string(), {id}));
    EXPECT_EQ(device.Description(), "5 \xB5s Timer") << device.Describe();
}

TEST(PackageSetupTest, TrustGoesIntoTheMachinesRootAndTrustedPublisherStores) {
    std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();
    TempDir dir;
    std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
    RecordingPrompter prompter;
    DriverPackageRequest request;
    request.device.InstrumentPrefix = "trusted";
    request.outputDirectory = dir.path().string();
    request.date = request.now = 1735689600;
    const std::optional<DriverPackage> package =
        WriteDriverPackage(request, *files, *crypto, prompter);
    ASSERT_TRUE(package);
    ASSERT_TRUE(Win32DriverStore().TrustPublisher(package->certificate));

    const std::string sha1 = crypto->Digest(DigestAlgorithm::Sha1, package->certificate);
    for (const char* name : {"Root", "TrustedPublisher"}) {
        HCERTSTORE store =
            ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, name);
        ASSERT_TRUE(store) << name;
        CRYPT_HASH_BLOB hash{static_cast<DWORD>(sha1.size()),
                             reinterpret_cast<BYTE*>(const_cast<char*>(sha1.data()))};
        PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                            CERT_FIND_SHA1_HASH, &hash, nullptr);
        EXPECT_TRUE(found) << name;
        if (found) {
            ::CertDeleteCertificateFromStore(found);
        }
        ::CertCloseStore(store, 0);
    }
}

}  // namespace
}  // namespace tessaly
