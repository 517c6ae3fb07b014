#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "actions/InfInstaller.h"
#include "tests/fakes/FakePlatform.h"
#include "wizard/WizardModel.h"

namespace tessaly {
namespace {

using testing::FakePlatform;

const std::string kInf = "d:\\inf\\";

using Tweak = void (*)(FakePlatform&, OutputPlan&);

// Installs the generated NT4, XP/2000 and WDM INFs, all written by the last generation, on a
// machine whose Windows folder is d: and whose inf folder holds a stale XP/2000 INF and its
// compiled companion; each file holds its drive letter. Gives the result, the inf folder's files
// with their contents, then the driver updates and the commands started.
std::string Install(unsigned major, Bus bus, Tweak tweak) {
    WizardModel model;
    model.plan.Files = {"", "", "c:\\NT4.inf", "c:\\NT5.inf", "", "c:\\WDM.inf"};
    model.plan.WrittenFiles = {"c:\\NT4.inf", "c:\\NT5.inf", "c:\\WDM.inf"};
    model.plan.HardwareIds = {"ID1", "ID2"};
    FakePlatform f;
    f.system.version->major = major;
    f.system.windowsDirectory = "d:";
    for (const std::string path :
         {"c:\\NT4.inf", "c:\\NT5.inf", "c:\\WDM.inf", "d:\\inf\\NT5.inf", "d:\\inf\\NT5.pnf"}) {
        f.files.AddFile(path, path.substr(0, 1));
    }
    tweak(f, model.plan);
    std::string out = InstallInf(model.plan, bus, f.platform()) ? "ok" : "failed";
    for (const std::string& p : f.files.FileNames()) {
        out += p.starts_with(kInf) ? " " + p.substr(kInf.size()) + "=" + f.files.Contents(p) : "";
    }
    for (const auto* pairs : {&f.plugAndPlay.updates, &f.shell.executed}) {
        for (const auto& [what, where] : *pairs) {
            out += " " + what + ">" + where;
        }
    }
    return out;
}

TEST(InstallInfTest, CopiesAndUpdatesOnNewerSystemsAndRunsTheSetupCommandOnOlderOnes) {
    const auto none = +[](FakePlatform&, OutputPlan&) {};
    // The generation could not save the INF: the one lying there is an earlier run's.
    const auto unwritten = +[](FakePlatform&, OutputPlan& p) { p.WrittenFiles = {"c:\\WDM.inf"}; };
    const std::string stale = " NT5.inf=d NT5.pnf=d";
    const char* run = " rundll32.exe>setupapi,InstallHinfSection DefaultInstall 132 c:\\NT4.inf";
    // The system's major version, the bus, what else differs, what the installation does.
    const std::tuple<unsigned, Bus, Tweak, std::string> cases[] = {
        {5, Bus::Usb, none, "ok" + stale + " WDM.inf=c ID1>d:\\inf\\WDM.inf ID2>d:\\inf\\WDM.inf"},
        {5, Bus::PxiPci, none, "ok NT5.inf=c ID1>d:\\inf\\NT5.inf ID2>d:\\inf\\NT5.inf"},
        {9, Bus::PxiPci, [](auto& f, auto&) { f.files.LockFile(kInf + "NT5.inf"); },
         "failed NT5.inf=d"},
        {9, Bus::PxiPci, [](auto& f, auto&) { f.plugAndPlay.available = false; },
         "failed NT5.inf=c"},
        {9, Bus::PxiPci, [](auto& f, auto&) { f.system.version.reset(); }, "failed" + stale},
        {4, Bus::Usb, none, "failed" + stale},
        {4, Bus::PxiPci, [](auto& f, auto&) { f.shell.executeResult = 32; }, "ok" + stale + run},
        {4, Bus::PxiPci, [](auto& f, auto&) { f.shell.executeResult = 31; },
         "failed" + stale + run},
        {9, Bus::PxiPci, unwritten, "failed" + stale},
        {4, Bus::PxiPci, unwritten, "failed" + stale}};
    for (const auto& [major, bus, tweak, expected] : cases) {
        EXPECT_EQ(Install(major, bus, tweak), expected)
            << "version " << major << ", USB " << (bus == Bus::Usb);
    }
}

const std::string kLong(255, 'v');  // fills a 256-byte buffer with its terminator

// Values below the product key (an empty name is the default), the file that exists, the answer.
const std::tuple<std::vector<std::array<std::string, 3>>, std::string, bool> kDetectCases[] = {
    {{{"5.0", "RTVersion", "5.0.1.2"}}, "", true},
    // Too long for 8 bytes: absent.
    {{{"5.0", "RTVersion", "5.0.1.23"}}, "", false},
    {{{"5.0\\AddOns\\Real-Time", "Version", "1.0.0.1"}}, "", true},
    // The add-on key decides alone.
    {{{"5.0\\AddOns\\Real-Time"}, {"5.0", "Path", "v"}}, "v\\Resource\\tgtmon.exe", false},
    {{{"5.0\\AddOns\\X"}, {"5.0", "Path", "v"}}, "v\\Resource\\tgtmon.exe", true},
    {{{"5.0", "Path", "v\\"}}, "v\\Resource\\tgtmon.exe", true},
    {{{"5.0", "Path", kLong + "v"}}, kLong + "v\\Resource\\tgtmon.exe", false},
    {{{"5.0", "Path", kLong}}, kLong + "\\Resource\\tgtmon.exe", true},
    {{{"4.0", "Path", "o"}, {"5.0", "Path", "v"}}, "v\\Resource\\tgtmon.exe", true},
    // Stops at the first find.
    {{{"4.0", "RTVersion", "4.0"}, {"5.0", "Path", "v"}}, "", true},
    // A key name of 8 characters ends the list.
    {{{"5.0", "RTVersion", "5.0"}, {"1.2.3.45"}}, "", false}};

TEST(RealTimeDetectionTest, FollowsTheProductKeysAndRemembersOnlyAYes) {
    for (const auto& [values, existing, found] : kDetectCases) {
        SCOPED_TRACE(values.back()[0] + " " + values.back()[1]);
        MemoryRegistry registry, empty;
        for (const auto& [key, name, data] : values) {
            registry.SetString("SOFTWARE\\Quorvane\\Vantorix\\" + key, name, data);
        }
        testing::FakeFileSystem files;
        files.AddFile(existing, "");
        RealTimeProductDetector detector;
        // Not asked without a configured registry; then a yes is remembered, a no is not.
        EXPECT_TRUE(DetectRealTimeProductOrUnconfigured(detector, false, registry, files));
        EXPECT_FALSE(detector.Detect(empty, files));
        EXPECT_EQ(DetectRealTimeProductOrUnconfigured(detector, true, registry, files), found);
        EXPECT_EQ(detector.Detect(empty, files), found);
    }
}

}  // namespace
}  // namespace tessaly
