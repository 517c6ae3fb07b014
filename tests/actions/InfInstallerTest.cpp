#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "actions/InfInstaller.h"
#include "tests/fakes/FakePlatform.h"

namespace tessaly {
namespace {

using testing::FakeFileSystem;
using testing::FakePlatform;
using Update = std::pair<std::string, std::string>;

const std::vector<std::string> kIds = {"PCI\\VEN_1234&DEV_5678&SUBSYS_9ABCDEF0",
                                       "PCI\\VEN_1234&DEV_5678"};

// A generated set of files in c:\out and an existing Windows inf folder holding stale copies.
struct Machine {
    WizardModel model;
    FakePlatform fake;

    Machine() {
        model.plan.Files.Nt4Inf = "c:\\out\\acme_NT4.inf";
        model.plan.Files.Nt5Inf = "c:\\out\\acme_NT5.inf";
        model.plan.Files.WdmInf = "c:\\out\\acme_WDM.inf";
        model.plan.HardwareIds = kIds;
        fake.files.AddFile(model.plan.Files.Nt4Inf, "nt4");
        fake.files.AddFile(model.plan.Files.Nt5Inf, "nt5");
        fake.files.AddFile(model.plan.Files.WdmInf, "wdm");
        fake.files.AddFile("c:\\windows\\inf\\acme_NT5.inf", "old nt5");
        fake.files.AddFile("c:\\windows\\inf\\acme_NT5.pnf", "compiled");
        fake.files.AddFile("c:\\windows\\inf\\acme_WDM.pnf", "compiled");
    }

    bool Install() { return InstallInf(model, fake.platform()); }
};

TEST(InstallInfTest, NewerSystemsCopyTheInfOfTheBusAndUpdateEveryIdInOrder) {
    struct {
        unsigned major;
        int bus;
        const char* target;
        const char* contents;
        const char* removed;
        const char* kept;
    } const cases[] = {
        {5, kBusPxi, "c:\\windows\\inf\\acme_NT5.inf", "nt5", "c:\\windows\\inf\\acme_NT5.pnf",
         "c:\\windows\\inf\\acme_WDM.pnf"},
        {10, kBusPxi, "c:\\windows\\inf\\acme_NT5.inf", "nt5", "c:\\windows\\inf\\acme_NT5.pnf",
         "c:\\windows\\inf\\acme_WDM.pnf"},
        {5, kBusUsb, "c:\\windows\\inf\\acme_WDM.inf", "wdm", "c:\\windows\\inf\\acme_WDM.pnf",
         "c:\\windows\\inf\\acme_NT5.pnf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("major ") + std::to_string(c.major) + " " + c.target);
        Machine m;
        m.fake.system.version = OsVersion{true, c.major, 0};
        m.model.plan.Bus = c.bus;

        EXPECT_TRUE(m.Install());
        EXPECT_EQ(m.fake.files.Contents(c.target), c.contents);
        EXPECT_FALSE(m.fake.files.HasFile(c.removed));
        EXPECT_TRUE(m.fake.files.HasFile(c.kept));
        EXPECT_EQ(m.fake.plugAndPlay.updates,
                  (std::vector<Update>{{kIds[0], c.target}, {kIds[1], c.target}}));
        EXPECT_TRUE(m.fake.shell.executed.empty());
    }
}

TEST(InstallInfTest, MissingCompiledCompanionAndNoIdsAreFine) {
    Machine m;
    m.fake.files.RemoveFile("c:\\windows\\inf\\acme_NT5.pnf");
    m.model.plan.HardwareIds.clear();
    EXPECT_TRUE(m.Install());
    EXPECT_EQ(m.fake.files.Contents("c:\\windows\\inf\\acme_NT5.inf"), "nt5");
    EXPECT_TRUE(m.fake.plugAndPlay.updates.empty());
}

TEST(InstallInfTest, PathsUseThePlatformSeparator) {
    Machine m;
    FakePlatform posix('/');
    posix.system.windowsDirectory = "/mnt/win/windows";
    posix.files.AddDirectory("/mnt/win/windows/inf");
    posix.files.AddFile("/mnt/win/windows/inf/acme_NT5.pnf", "compiled");
    posix.files.AddFile("/home/u/vxipnp/winnt/acme_NT5.inf", "nt5");
    m.model.plan.Files.Nt5Inf = "/home/u/vxipnp/winnt/acme_NT5.inf";

    EXPECT_TRUE(InstallInf(m.model, posix.platform()));
    EXPECT_EQ(posix.files.Contents("/mnt/win/windows/inf/acme_NT5.inf"), "nt5");
    EXPECT_FALSE(posix.files.HasFile("/mnt/win/windows/inf/acme_NT5.pnf"));
    ASSERT_EQ(posix.plugAndPlay.updates.size(), 2u);
    EXPECT_EQ(posix.plugAndPlay.updates[0].second, "/mnt/win/windows/inf/acme_NT5.inf");
}

TEST(InstallInfTest, NewerSystemsFailWithoutWindowsFolderCopyOrUpdateFunction) {
    const std::pair<const char*, void (*)(Machine&)> cases[] = {
        {"no version", [](Machine& m) { m.fake.system.version.reset(); }},
        {"no Windows directory", [](Machine& m) { m.fake.system.windowsDirectory.reset(); }},
        {"no inf folder", [](Machine& m) { m.fake.system.windowsDirectory = "c:\\winnt"; }},
        {"INF not generated",
         [](Machine& m) { m.model.plan.Files.Nt5Inf = "c:\\out\\other_NT5.inf"; }},
        {"target locked",
         [](Machine& m) { m.fake.files.LockFile("c:\\windows\\inf\\acme_NT5.inf"); }},
        {"no Plug and Play", [](Machine& m) { m.fake.plugAndPlay.available = false; }},
    };
    for (const auto& [label, breakIt] : cases) {
        SCOPED_TRACE(label);
        Machine m;
        breakIt(m);
        EXPECT_FALSE(m.Install());
        EXPECT_TRUE(m.fake.plugAndPlay.updates.empty());
        EXPECT_TRUE(m.fake.shell.executed.empty());
    }
}

TEST(InstallInfTest, OlderSystemsStartTheSetupCommandWithTheNt4Inf) {
    struct {
        unsigned major;
        int result;
        bool success;
    } const cases[] = {{4, 42, true}, {4, 32, true}, {4, 31, false}, {4, 2, false}, {3, 33, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + " / " + std::to_string(c.result));
        Machine m;
        m.fake.system.version = OsVersion{true, c.major, 0};
        m.fake.shell.executeResult = c.result;

        EXPECT_EQ(m.Install(), c.success);
        EXPECT_EQ(m.fake.shell.executed,
                  (std::vector<std::pair<std::string, std::string>>{
                      {"rundll32.exe",
                       "setupapi,InstallHinfSection DefaultInstall 132 c:\\out\\acme_NT4.inf"}}));
        EXPECT_TRUE(m.fake.plugAndPlay.updates.empty());
        EXPECT_EQ(m.fake.files.Contents("c:\\windows\\inf\\acme_NT5.inf"), "old nt5");
        EXPECT_TRUE(m.fake.files.HasFile("c:\\windows\\inf\\acme_NT5.pnf"));
    }
}

TEST(InstallInfTest, UsbFailsOnOlderSystems) {
    Machine m;
    m.fake.system.version = OsVersion{true, 4, 0};
    m.model.plan.Bus = kBusUsb;
    EXPECT_FALSE(m.Install());
    EXPECT_TRUE(m.fake.shell.executed.empty());
    EXPECT_FALSE(m.fake.files.HasFile("c:\\windows\\inf\\acme_WDM.inf"));
    EXPECT_TRUE(m.fake.files.HasFile("c:\\windows\\inf\\acme_WDM.pnf"));
}

// Delegates to a FakeFileSystem and records, byte for byte, every path probed for reading (the
// fake itself collapses doubled separators).
class ProbeRecordingFiles final : public FileSystem {
public:
    FakeFileSystem files;
    std::vector<std::string> probes;

    char Separator() const override { return files.Separator(); }
    bool WriteFile(const std::string& path, std::string_view bytes) override {
        return files.WriteFile(path, bytes);
    }
    bool CanOpenForReading(const std::string& path) override {
        probes.push_back(path);
        return files.CanOpenForReading(path);
    }
    FileAttributes QueryAttributes(const std::string& path) override {
        return files.QueryAttributes(path);
    }
    bool MakeDirectory(const std::string& path) override { return files.MakeDirectory(path); }
    bool CopyReplacing(const std::string& from, const std::string& to) override {
        return files.CopyReplacing(from, to);
    }
    bool RemoveFile(const std::string& path) override { return files.RemoveFile(path); }
};

constexpr const char* kProduct = "SOFTWARE\\Quorvane\\Vantorix\\";
const std::string kMonitor = "c:\\vantorix\\Resource\\tgtmon.exe";

struct DetectCase {
    const char* label;
    std::function<void(MemoryRegistry&, FakeFileSystem&)> setUp;
    bool found;
    std::vector<std::string> probes;
};

std::ostream& operator<<(std::ostream& out, const DetectCase& c) {
    return out << c.label;
}

class RealTimeDetectionTest : public ::testing::TestWithParam<DetectCase> {};

TEST_P(RealTimeDetectionTest, FollowsTheProductKeys) {
    MemoryRegistry registry;
    ProbeRecordingFiles files;
    GetParam().setUp(registry, files.files);
    RealTimeProductDetector detector;
    EXPECT_EQ(detector.Detect(registry, files), GetParam().found);
    EXPECT_EQ(detector.found(), GetParam().found);
    EXPECT_EQ(files.probes, GetParam().probes);
}

std::string Key(const std::string& below) {
    return std::string(kProduct) + below;
}

INSTANTIATE_TEST_SUITE_P(
    Registries, RealTimeDetectionTest,
    ::testing::Values(
        DetectCase{"NoProduct", [](MemoryRegistry&, FakeFileSystem&) {}, false, {}},
        DetectCase{"ProductWithoutVersions",
                   [](MemoryRegistry& r, FakeFileSystem&) { r.CreateKey(kProduct); },
                   false,
                   {}},
        DetectCase{"RealTimeVersionKey",
                   [](MemoryRegistry& r, FakeFileSystem&) { r.CreateKey(Key("5.1.2")); },
                   true,
                   {}},
        DetectCase{"RTVersion",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.SetString(Key("5.0"), "RTVersion", "5.0.1");
                   },
                   true,
                   {}},
        DetectCase{"RTVersionOfSevenCharacters",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.SetString(Key("5.0"), "RTVersion", "5.0.1.2");
                   },
                   true,
                   {}},
        DetectCase{"RTVersionTooLongCountsAsAbsent",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.SetString(Key("5.0"), "RTVersion", "5.0.1.23");
                   },
                   false,
                   {}},
        DetectCase{"AddOnVersion",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.SetString(Key("5.0\\AddOns\\Real-Time"), "Version", "1.0");
                   },
                   true,
                   {}},
        DetectCase{"AddOnWithoutVersionSkipsThePathTest",
                   [](MemoryRegistry& r, FakeFileSystem& f) {
                       r.CreateKey(Key("5.0\\AddOns\\Real-Time"));
                       r.SetString(Key("5.0"), "Path", "c:\\vantorix");
                       f.AddFile(kMonitor, "");
                   },
                   false,
                   {}},
        DetectCase{"AddOnVersionTooLong",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.SetString(Key("5.0\\AddOns\\Real-Time"), "Version", "1.0.0.100");
                   },
                   false,
                   {}},
        DetectCase{"AddOnsWithoutRealTimeFallsBackToPath",
                   [](MemoryRegistry& r, FakeFileSystem& f) {
                       r.CreateKey(Key("5.0\\AddOns\\Other"));
                       r.SetString(Key("5.0"), "Path", "c:\\vantorix");
                       f.AddFile(kMonitor, "");
                   },
                   true,
                   {kMonitor}},
        DetectCase{"PathWithMonitor",
                   [](MemoryRegistry& r, FakeFileSystem& f) {
                       r.SetString(Key("5.0"), "Path", "c:\\vantorix");
                       f.AddFile(kMonitor, "");
                   },
                   true,
                   {kMonitor}},
        DetectCase{"PathEndingInSeparator",
                   [](MemoryRegistry& r, FakeFileSystem& f) {
                       r.SetString(Key("5.0"), "Path", "c:\\vantorix\\");
                       f.AddFile(kMonitor, "");
                   },
                   true,
                   {kMonitor}},
        DetectCase{"PathWithoutMonitor",
                   [](MemoryRegistry& r, FakeFileSystem& f) {
                       r.SetString(Key("5.0"), "Path", "c:\\vantorix");
                       f.AddFile("c:\\vantorix\\tgtmon.exe", "");
                   },
                   false,
                   {kMonitor}},
        DetectCase{"PathTooLongForItsBuffer",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.SetString(Key("5.0"), "Path", "c:\\" + std::string(253, 'v'));
                   },
                   false,
                   {}},
        DetectCase{"PathFillingItsBuffer",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.SetString(Key("5.0"), "Path", "c:\\" + std::string(252, 'v'));
                   },
                   false,
                   {"c:\\" + std::string(252, 'v') + "\\Resource\\tgtmon.exe"}},
        DetectCase{"LaterVersionKeyStillLookedAt",
                   [](MemoryRegistry& r, FakeFileSystem& f) {
                       r.SetString(Key("4.0"), "Path", "c:\\old");
                       r.SetString(Key("5.0"), "Path", "c:\\vantorix");
                       f.AddFile(kMonitor, "");
                   },
                   true,
                   {"c:\\old\\Resource\\tgtmon.exe", kMonitor}},
        DetectCase{"StopsAtTheFirstFind",
                   [](MemoryRegistry& r, FakeFileSystem& f) {
                       r.SetString(Key("4.0"), "RTVersion", "4.0");
                       r.SetString(Key("5.0"), "Path", "c:\\vantorix");
                       f.AddFile(kMonitor, "");
                   },
                   true,
                   {}},
        DetectCase{"NameOfSevenCharactersIsRead",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.CreateKey(Key("1.2.3.4"));
                       r.SetString(Key("5.0"), "RTVersion", "5.0");
                   },
                   true,
                   {}},
        DetectCase{"NameOfEightCharactersStopsTheEnumeration",
                   [](MemoryRegistry& r, FakeFileSystem&) {
                       r.CreateKey(Key("1.2.3.45"));
                       r.SetString(Key("5.0"), "RTVersion", "5.0");
                   },
                   false,
                   {}}),
    [](const ::testing::TestParamInfo<DetectCase>& param) { return param.param.label; });

TEST(RealTimeDetectorTest, RemembersAYesButNotANo) {
    MemoryRegistry empty;
    MemoryRegistry installed;
    installed.CreateKey(Key("5.1.2"));
    FakeFileSystem files;

    RealTimeProductDetector detector;
    EXPECT_FALSE(detector.Detect(empty, files));
    EXPECT_TRUE(detector.Detect(installed, files));
    EXPECT_TRUE(detector.found());
    EXPECT_TRUE(detector.Detect(empty, files));
}

TEST(RealTimeDetectorTest, UnconfiguredRegistryAnswersYesWithoutDetecting) {
    MemoryRegistry empty;
    MemoryRegistry installed;
    installed.SetString(Key("5.0"), "RTVersion", "5.0");
    FakeFileSystem files;

    RealTimeProductDetector detector;
    EXPECT_TRUE(DetectRealTimeProductOrUnconfigured(detector, false, empty, files));
    EXPECT_FALSE(detector.found());
    EXPECT_FALSE(DetectRealTimeProductOrUnconfigured(detector, true, empty, files));
    EXPECT_TRUE(DetectRealTimeProductOrUnconfigured(detector, true, installed, files));
    EXPECT_TRUE(detector.found());
}

}  // namespace
}  // namespace tessaly
