#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "actions/InfInstaller.h"
#include "tests/fakes/FakePlatform.h"

namespace tessaly {
namespace {

const std::string kInf = "c:\\windows\\inf\\";

// Generated files in c:\o, each holding its kind; the Windows inf folder holds a stale copy and
// compiled companions.
struct Machine {
    WizardModel model;
    testing::FakePlatform fake;

    Machine() {
        // The NT4, XP/2000 and WDM INFs only.
        model.plan.Files = {"", "", "c:\\o\\NT4.inf", "c:\\o\\NT5.inf", "", "c:\\o\\WDM.inf"};
        model.plan.HardwareIds = {"ID1", "ID2"};
        for (const std::string kind : {"NT4", "NT5", "WDM"}) {
            fake.files.AddFile("c:\\o\\" + kind + ".inf", kind);
        }
        for (const char* name : {"NT5.inf", "NT5.pnf", "WDM.pnf"}) {
            fake.files.AddFile(kInf + name, "old");
        }
    }
    // The result, then the inf folder's files with their contents, the driver updates and the
    // commands started.
    std::string Install() {
        std::string out = InstallInf(model, fake.platform()) ? "ok" : "failed";
        for (const std::string& file : fake.files.FileNames()) {
            if (file.starts_with(kInf)) {
                out += " " + file.substr(kInf.size()) + "=" + fake.files.Contents(file);
            }
        }
        for (const auto& [id, inf] : fake.plugAndPlay.updates) {
            out += " update " + id + " " + inf;
        }
        for (const auto& [file, parameters] : fake.shell.executed) {
            out += " run " + file + " " + parameters;
        }
        return out;
    }
};

const std::string kStale = " NT5.inf=old NT5.pnf=old WDM.pnf=old";
const std::string kNt5 = " NT5.inf=NT5 WDM.pnf=old";
const std::string kUpdates = " update ID1 " + kInf + "NT5.inf update ID2 " + kInf + "NT5.inf";
const std::string kWdm = " NT5.inf=old NT5.pnf=old WDM.inf=WDM update ID1 " + kInf +
                         "WDM.inf update ID2 " + kInf + "WDM.inf";
const std::string kRun =
    " run rundll32.exe setupapi,InstallHinfSection DefaultInstall 132 c:\\o\\NT4.inf";

// The system's major version, the bus, what else differs, what the installation does.
const std::tuple<unsigned, int, void (*)(Machine&), std::string> kInstallCases[] = {
    {5, kBusUsb, [](Machine&) {}, "ok" + kWdm},
    {5, kBusPxi, [](Machine& m) { m.fake.files.RemoveFile(kInf + "NT5.pnf"); },
     "ok" + kNt5 + kUpdates},
    {10, kBusPxi, [](Machine& m) { m.fake.system.windowsDirectory.reset(); }, "failed" + kStale},
    {10, kBusPxi, [](Machine& m) { m.fake.files.LockFile(kInf + "NT5.inf"); },
     "failed NT5.inf=old WDM.pnf=old"},
    {10, kBusPxi, [](Machine& m) { m.fake.plugAndPlay.available = false; }, "failed" + kNt5},
    {10, kBusPxi, [](Machine& m) { m.fake.system.version.reset(); }, "failed" + kStale},
    {4, kBusUsb, [](Machine&) {}, "failed" + kStale},
    {4, kBusPxi, [](Machine& m) { m.fake.shell.executeResult = 32; }, "ok" + kStale + kRun},
    {4, kBusPxi, [](Machine& m) { m.fake.shell.executeResult = 31; }, "failed" + kStale + kRun}};

TEST(InstallInfTest, CopiesAndUpdatesOnNewerSystemsAndRunsTheSetupCommandOnOlderOnes) {
    for (const auto& [major, bus, tweak, expected] : kInstallCases) {
        Machine m;
        m.fake.system.version->major = major;
        m.model.plan.Bus = bus;
        tweak(m);
        EXPECT_EQ(m.Install(), expected) << "version " << major << ", bus " << bus;
    }
}

TEST(InstallInfTest, PathsUseThePlatformSeparator) {
    Machine m;
    testing::FakePlatform posix('/');
    posix.system.windowsDirectory = "/win";
    posix.files.AddFile("/win/inf/NT5.pnf", "");
    posix.files.AddFile("/out/NT5.inf", "NT5");
    m.model.plan.Files.Nt5Inf = "/out/NT5.inf";
    EXPECT_TRUE(InstallInf(m.model, posix.platform()));
    EXPECT_EQ(posix.files.FileNames(),
              (std::vector<std::string>{"/out/NT5.inf", "/win/inf/NT5.inf"}));
}

const std::string kProduct = "SOFTWARE\\Quorvane\\Vantorix\\";
const std::string kAddOn = "5.0\\AddOns\\Real-Time";
const std::string kTail = "\\Resource\\tgtmon.exe";
const std::string kLong(255, 'v');  // fills a 256-byte buffer with its terminator

// Values below the product key (an empty name is the default), the file that exists, the answer.
using Value = std::array<std::string, 3>;
const std::tuple<std::vector<Value>, std::string, bool> kDetectCases[] = {
    {{}, "", false},
    {{{""}}, "", false},
    {{{"5.1.2"}}, "", true},
    {{{"5.0", "RTVersion", "5.0.1.2"}}, "", true},
    {{{"5.0", "RTVersion", "5.0.1.23"}}, "", false},  // too long for 8 bytes: absent
    {{{kAddOn, "Version", "1.0"}}, "", true},
    {{{kAddOn, "Version", "1.0.0.10"}}, "", false},
    {{{kAddOn}, {"5.0", "Path", "v"}}, "v" + kTail, false},  // the add-on key decides alone
    {{{"5.0\\AddOns\\X"}, {"5.0", "Path", "v"}}, "v" + kTail, true},
    {{{"5.0", "Path", "v\\"}}, "v" + kTail, true},
    {{{"5.0", "Path", "v"}}, "v\\tgtmon.exe", false},
    {{{"5.0", "Path", kLong + "v"}}, kLong + "v" + kTail, false},
    {{{"5.0", "Path", kLong}}, kLong + kTail, true},
    {{{"4.0", "Path", "o"}, {"5.0", "Path", "v"}}, "v" + kTail, true},
    {{{"4.0", "RTVersion", "4.0"}, {"5.0", "Path", "v"}}, "", true},  // stops at the first find
    {{{"5.0", "RTVersion", "5.0"}, {"1.2.3.4"}}, "", true},
    {{{"5.0", "RTVersion", "5.0"}, {"1.2.3.45"}}, "", false}};  // a name of 8 ends the list

TEST(RealTimeDetectionTest, FollowsTheProductKeysAndRemembersOnlyAYes) {
    for (const auto& [values, existing, found] : kDetectCases) {
        SCOPED_TRACE(values.empty() ? "" : values.back()[0] + " " + values.back()[1]);
        MemoryRegistry registry, empty;
        for (const auto& [key, name, data] : values) {
            registry.SetString(kProduct + key, name, data);
        }
        testing::FakeFileSystem files;
        files.AddFile(existing, "");
        RealTimeProductDetector detector;
        EXPECT_TRUE(DetectRealTimeProductOrUnconfigured(detector, false, registry, files));
        EXPECT_FALSE(detector.Detect(empty, files));  // not asked without a configured registry
        EXPECT_EQ(DetectRealTimeProductOrUnconfigured(detector, true, registry, files), found);
        EXPECT_EQ(detector.Detect(empty, files), found);  // a yes is remembered, a no is not
    }
}

}  // namespace
}  // namespace tessaly
