#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "modulefile/ModuleLoader.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using testing::RecordingPrompter;

// A combination module whose functions each show one way a function section is read.
const std::string kCombination = testing::GoldenPath("module_combination.ini");

class ModuleLoaderTest : public ::testing::Test {
protected:
    // Values unlike any a file loads, so that what is not overwritten shows.
    ModuleLoaderTest() {
        DeviceDescription& d = model.device;
        d.BusType = model.plan.Bus = kBusUsb;
        d.UsbVendorId = d.OutputDirectory = "kept";
        d.UsesSubsystem = d.GeneratesInterrupts = true;
        d.DetectSequences = {{4, "R8 CFG 0x4;", 1}};
        d.RemovalSteps = "old;";
        model.RefreshOnActivate = false;
    }

    int Load(const std::string& path) { return LoadModuleDescriptionFile(model, path, prompter); }
    int LoadText(const std::string& bytes) { return Load(dir.Write("module.ini", bytes)); }

    // The values the loader sets, in one line, after checking that it left the others alone.
    std::string Loaded() {
        const DeviceDescription& d = model.device;
        EXPECT_TRUE(d.BusType == kBusUsb && d.UsbVendorId == "kept" && d.OutputDirectory == "kept");
        EXPECT_TRUE(model.plan.Bus == kBusPxi && model.RefreshOnActivate);
        std::string text = (d.UsesSubsystem ? "sub " : "") + d.ModelCode + "|" + d.ManufCode + "|" +
                           d.SubsystemModelCode + "|" + d.SubsystemManufCode + "|" + d.ModelName +
                           "|" + d.ManufName + "|" + d.InstrumentPrefix +
                           (d.GeneratesInterrupts ? "|irq" : "|");
        for (const DetectSequence& s : d.DetectSequences) {
            text += " " + std::to_string(s.Number) + ":" + s.Steps + "(" +
                    std::to_string(s.StepCount) + ")";
        }
        return text + "|" + d.RemovalSteps;
    }

    testing::TempDir dir;
    RecordingPrompter prompter;
    WizardModel model;
};

TEST_F(ModuleLoaderTest, EachChoiceOfTheWalkLoadsItsSection) {
    const char* loaded[] = {
        "0xA001|0x10EE|||Model A|Combo Vendor|RegA|irq 0:C8 CFG 0x0 0x1 0x1;R8 CFG 0x4;(2) 1:(0) "
        "2:R8 CFG 0x4;(1)|W8 BAR0 0x00000010 0x00;",
        "0xD000||||Combo Module|Combo Vendor|ComboModule||",
        "0xD101||||Combo Module|Combo Vendor|RegD||",
        "0xD205||||Combo Module|Combo Vendor|ComboModule||",
        "0xD206||||Combo Module|Combo Vendor|ComboModule||",
        "sub 0xA004|0x10EE|0x2004|0x20EE|Combo Module|Combo Vendor|ComboModule||",
        "0xA005||||From Simple|Simple Vendor|FromSimple|irq 0:C8 CFG 0x0 0x1 0x1;(1)|",
        "0xA006||||Combo Module|Combo Vendor|ComboModule||",
        "0xA007||||Combo Module|Combo Vendor|SimpleZero||",
        "0xA008||||Combo Module|Combo Vendor|CountNegative||",
    };
    for (int k = 0; k < static_cast<int>(std::size(loaded)); ++k) {
        prompter.functionChoices = {k};
        ASSERT_EQ(Load(kCombination), 0) << k;
        EXPECT_TRUE(
            testing::MatchesGolden("module_combination_list.txt", prompter.functionLists.back()));
        EXPECT_EQ(Loaded(), loaded[k]) << k;
    }
}

TEST_F(ModuleLoaderTest, NothingChangesWhenNothingIsLoaded) {
    const WizardModel before = model;
    prompter.functionChoices = {std::nullopt, 10, -1, 99};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Load(kCombination), 1);
    }
    EXPECT_EQ(Load((dir.path() / "none.ini").string()), 1);
    EXPECT_EQ(Load(dir.path().string()), 1);
    EXPECT_EQ(LoadText("[Modules]\nModelCode=0x1\n[Function0]\nModelCode=0x2\n"), 1);
    // The callers report unreadable files.
    EXPECT_EQ(
        prompter.Texts(),
        std::vector<std::string>{"The file you selected is not a valid module description file."});
    EXPECT_EQ(model.device, before.device);
    EXPECT_TRUE(model.plan.Bus == kBusUsb && !model.RefreshOnActivate);
}

TEST_F(ModuleLoaderTest, ASingleEntryOrNoneLoadsWithoutAChooser) {
    ASSERT_EQ(LoadText("[Module]\r\nModuleName=\"Module Name\"\r\nModuleVendor=Module Vendor\r\n"
                       "ManufCode=0x1234\r\nModelCode=0xabcd\r\nVISARegistration=\"My Reg\"\r\n"
                       "[My Reg]\r\nManufName=Reg Vendor\r\n"),
              0);
    EXPECT_EQ(Loaded(), "0xabcd|0x1234|||Module Name|Reg Vendor|MyReg||");
    ASSERT_EQ(LoadText("[Module]\nFunctionList=7\nModuleName=Name\nModuleVendor=Vendor\n"
                       "ModelCode=0x1234\n[Function7]\nType=Other\n"),
              0);
    EXPECT_EQ(Loaded(), "||||Name|Vendor|Name||");
    EXPECT_TRUE(prompter.functionLists.empty() && prompter.messages.empty());
}

TEST_F(ModuleLoaderTest, AHugeCountStopsWhereTheFileStopsBackingIt) {
    // The first 1024 sequences are read present or not; past them, up to the first missing one.
    std::string file = "[Module]\nVISARegistration=Reg\n[Reg]\nNumDetectSequences=4294967295\n";
    for (int i = 0; i < 1100; ++i) {
        file += "InterruptDetect" + std::to_string(i) + "=R8 CFG 0x4;\n";
    }
    ASSERT_EQ(LoadText(file), 0);
    ASSERT_EQ(model.device.DetectSequences.size(), 1100u);
    EXPECT_EQ(model.device.DetectSequences.back(), (DetectSequence{1099, "R8 CFG 0x4;", 1}));
    ASSERT_EQ(LoadText("[Module]\nVISARegistration=Reg\n[Reg]\nNumDetectSequences=4000000000\n"),
              0);
    EXPECT_EQ(model.device.DetectSequences.size(), 1024u);
}

TEST_F(ModuleLoaderTest, ABridgeNamedOverAndOverCannotMakeTheWalkRunAway) {
    // Each level names the next level's bridge 32 times 32: unbounded, the walk would visit
    // 1024 to the power of the depth.
    const std::string all0 = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
    std::string file = "[Module]\nType=InternalBridge\nDeviceList=" + all0 + "\n";
    std::string section = "Device0";
    for (int depth = 0; depth < 12; ++depth, section += "Device0") {
        file += "[" + section + "]\nType=InternalBridge\nFunctionList=" + all0 +
                "\nDeviceList=" + all0 + "\n";
    }
    EXPECT_EQ(LoadText(file + "[" + section + "]\nModelCode=1\n"), 1);  // the choice is cancelled
    const std::string& list = prompter.functionLists.at(0);
    EXPECT_LE(std::count(list.begin(), list.end(), ';'), 4096);
}

TEST(CleanInstrumentPrefixTest, RemovesFileNameCharactersAndKeeps31) {
    EXPECT_EQ(CleanInstrumentPrefix("a\\./,:'*!?#\"$<&>(|) +[-]_%~;\r\t\v\n\f=\xE9"),
              "a.,'!#$&()+-_~\r\v\f\xE9");
    EXPECT_EQ(CleanInstrumentPrefix("0123456789 0123456789 0123456789 0123456789"),
              "0123456789012345678901234567890");
}

TEST(ParseNumberListTest, ReadsLikeCommaSeparatedPercentD) {
    const std::pair<const char*, const char*> cases[] = {
        {"1, 2,\t3", "{ 1, 2, 3 }"}, {"1 ,2", "{ 1 }"}, {"-3,+4", "{ -3, 4 }"},
        {"  7abc,8", "{ 7 }"},       {"x,1", "{}"},     {"- 1", "{}"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(::testing::PrintToString(ParseNumberList(text)), expected) << text;
    }
    EXPECT_EQ(ParseNumberList("4294967297,2147483648"), (std::vector<int>{1, -2147483647 - 1}));
    EXPECT_EQ(ParseNumberList("7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7"),
              std::vector<int>(32, 7));
}

}  // namespace
}  // namespace tessaly
