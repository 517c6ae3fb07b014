#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "modulefile/ModuleLoader.h"
#include "resources/StringTable.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using testing::RecordingPrompter;

// A model whose every value differs from what any test file loads, so a test sees both what
// changed and what was left alone.
WizardModel TouchedModel() {
    WizardModel model;
    DeviceDescription& d = model.device;
    d.BusType = kBusUsb;
    d.ManufCode = "0x1111";
    d.ModelCode = "0x2222";
    d.UsesSubsystem = true;
    d.SubsystemManufCode = "0x3333";
    d.SubsystemModelCode = "0x4444";
    d.ManufName = "Old Maker";
    d.ModelName = "Old Model";
    d.GeneratesInterrupts = true;
    d.UsbVendorId = "0x5555";
    d.UsbProductId = "0x6666";
    d.UsbManufName = "Usb Maker";
    d.UsbModelName = "Usb Model";
    d.IsCompoundDevice = true;
    d.InterfaceCount = 7;
    d.InterfaceCountText = "7";
    d.DetectSequences = {{4, "C8 CFG 0x0 0xFF 0x1;", 1}};
    d.RemovalSteps = "R8 CFG 0x00000004;";
    d.InstrumentPrefix = "oldprefix";
    d.OutputDirectory = "/out/old";
    model.plan.Bus = kBusUsb;
    model.plan.HardwareIds = {"PCI\\VEN_1111"};
    model.RefreshOnActivate = false;
    return model;
}

class ModuleLoaderTest : public ::testing::Test {
protected:
    int LoadFile(const std::string& bytes) {
        return LoadModuleDescriptionFile(model, dir.Write("module.ini", bytes), prompter);
    }

    testing::TempDir dir;
    RecordingPrompter prompter;
    WizardModel model = TouchedModel();
};

TEST_F(ModuleLoaderTest, AModuleSectionAloneLoadsWithoutAChooser) {
    ASSERT_EQ(LoadFile("[Module]\r\n"
                       "ModuleName=\"Module Name\"\r\n"
                       "ModuleVendor=\"Module Vendor\"\r\n"
                       "ManufCode=0x1234\r\n"
                       "ModelCode=0xabcd\r\n"
                       "VISARegistration=\"My Reg\"\r\n"
                       "[My Reg]\r\n"
                       "ModelName=\"Reg Model\"\r\n"),
              0);
    EXPECT_TRUE(prompter.functionLists.empty());
    EXPECT_TRUE(prompter.messages.empty());

    WizardModel expected = TouchedModel();
    DeviceDescription& d = expected.device;
    d.ManufCode = "0x1234";
    d.ModelCode = "0xabcd";  // stored as read, not normalised
    d.UsesSubsystem = false;
    d.SubsystemManufCode = "";
    d.SubsystemModelCode = "";
    d.ModelName = "Reg Model";
    d.ManufName = "Module Vendor";  // the registration section has no ManufName
    d.GeneratesInterrupts = false;
    d.DetectSequences.clear();
    d.RemovalSteps = "";
    d.InstrumentPrefix = "MyReg";
    expected.plan.Bus = kBusPxi;
    expected.RefreshOnActivate = true;
    EXPECT_EQ(model.device, expected.device);
    EXPECT_EQ(model.plan.Bus, kBusPxi);
    EXPECT_EQ(model.plan.HardwareIds, expected.plan.HardwareIds);
    EXPECT_TRUE(model.RefreshOnActivate);
}

constexpr const char* kTwoFunctions =
    "[Module]\n"
    "FunctionList=1, 2\n"
    "ModuleName=Combo\n"
    "[Function1]\n"
    "ModelCode=0x1001\n"
    "ManufCode=0x10EE\n"
    "VISARegistration=First Reg\n"
    "[Function2]\n"
    "Type=device\n"
    "ModelCode=0x1002\n"
    "ManufCode=0x10EE\n"
    "SubsystemModelCode=0x2002\n"
    "SubsystemManufCode=0x20EE\n"
    "VISARegistration=simple\n";

TEST_F(ModuleLoaderTest, TheChooserListsEveryFunctionAndLoadsTheChosenOne) {
    prompter.functionChoices = {1};
    ASSERT_EQ(LoadFile(kTwoFunctions), 0);
    ASSERT_EQ(prompter.functionLists.size(), 1u);
    EXPECT_EQ(prompter.functionLists[0], "Function1 (First Reg);Function2 (0x1002);");
    EXPECT_EQ(model.device.ModelCode, "0x1002");
    EXPECT_TRUE(model.device.UsesSubsystem);
    EXPECT_EQ(model.device.SubsystemModelCode, "0x2002");
    EXPECT_EQ(model.device.SubsystemManufCode, "0x20EE");
    EXPECT_EQ(model.device.ModelName, "Combo");
    EXPECT_EQ(model.device.ManufName, "");              // no ModuleVendor either
    EXPECT_EQ(model.device.InstrumentPrefix, "Combo");  // "simple" names no registration
}

TEST_F(ModuleLoaderTest, NothingChangesWhenTheChoiceIsCancelledOrOutOfRange) {
    for (const std::optional<int> choice : {std::optional<int>(), std::optional<int>(2),
                                            std::optional<int>(-1), std::optional<int>(99)}) {
        prompter.functionChoices = {choice};
        EXPECT_EQ(LoadFile(kTwoFunctions), 1);
        EXPECT_EQ(model.device, TouchedModel().device);
        EXPECT_EQ(model.plan.Bus, kBusUsb);
        EXPECT_FALSE(model.RefreshOnActivate);
    }
    EXPECT_EQ(prompter.functionLists.size(), 4u);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ModuleLoaderTest, AFileWithoutModuleIsRefusedWithAMessage) {
    EXPECT_EQ(LoadFile("[Modules]\nModelCode=0x1\n[Function0]\nModelCode=0x2\n"), 1);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "The file you selected is not a valid module description file.");
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(model.device, TouchedModel().device);
    EXPECT_FALSE(model.RefreshOnActivate);
}

TEST_F(ModuleLoaderTest, AFileThatCannotBeOpenedIsRefusedSilently) {
    EXPECT_EQ(LoadModuleDescriptionFile(model, (dir.path() / "none.ini").string(), prompter), 1);
    EXPECT_EQ(LoadModuleDescriptionFile(model, dir.path().string(), prompter), 1);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(model.device, TouchedModel().device);
}

// A combination module: function 2 is a bridge whose devices sit in its place in the list,
// one of them a bridge again, reached through the second choice of section name.
constexpr const char* kCombination =
    "[Module]\n"
    "FunctionList=1,2,3,4\n"
    "[Function1]\nModelCode=0xA001\nVISARegistration=RegA\n"
    "[Function2]\nType=InternalBridge\nDeviceList=0,1,9\n"
    "[Function3]\nModelCode=0xA003\nType=Bridge\n"
    "[Function4]\nModelCode=0xA004\nVISARegistration=None\n"
    "[Device0]\nType=Device\nModelCode=0xD000\n"
    "[Function0Device1]\nFunctionList=1,2\n"
    "[Function0Device1Function1]\nModelCode=0xD101\nVISARegistration=RegD\n"
    "[Function0Device1Function2]\nType=INTERNALBRIDGE\nDeviceList=5,6\n"
    "[Function0Device1Function2Device5]\nModelCode=0xD205\n"
    "[Function0Device1Function2Function0Device6]\nModelCode=0xD206\n";

TEST_F(ModuleLoaderTest, ABridgeContributesItsDevicesInItsPlace) {
    std::string list;
    IniDocument document = IniCreate(false);
    ASSERT_EQ(IniLoadFromMemory(*document, kCombination), 0);
    EXPECT_EQ(ListModuleFunctions(*document, "Module", list), 0);
    EXPECT_EQ(list,
              "Function1 (RegA);"
              "Device0 (0xD000);"
              "Function0Device1Function1 (RegD);"
              "Function0Device1Function2Device5 (0xD205);"
              "Function0Device1Function2Function0Device6 (0xD206);"
              "Function4 (0xA004);");
    std::string appended = "kept;";
    EXPECT_EQ(ListModuleFunctions(*document, "Function0Device1Function2", appended), 0);
    EXPECT_EQ(appended,
              "kept;Function0Device1Function2Device5 (0xD205);"
              "Function0Device1Function2Function0Device6 (0xD206);");
    EXPECT_EQ(ListModuleFunctions(*document, "Device7", appended), 1);
}

TEST_F(ModuleLoaderTest, ChoosingADeviceBehindABridgeLoadsItsSection) {
    prompter.functionChoices = {4};
    ASSERT_EQ(LoadFile(kCombination), 0);
    EXPECT_EQ(model.device.ModelCode, "0xD206");
    EXPECT_EQ(model.device.ManufCode, "");
}

TEST_F(ModuleLoaderTest, AWalkWithoutEntriesLoadsTheModuleNames) {
    ASSERT_EQ(LoadFile("[Module]\nFunctionList=7\nModuleName=Name\nModuleVendor=Vendor\n"
                       "ModelCode=0x1234\n[Function7]\nType=Other\n"),
              0);
    EXPECT_TRUE(prompter.functionLists.empty());
    EXPECT_EQ(model.device.ModelCode, "");
    EXPECT_EQ(model.device.ManufCode, "");
    EXPECT_EQ(model.device.SubsystemModelCode, "");
    EXPECT_FALSE(model.device.UsesSubsystem);
    EXPECT_EQ(model.device.ModelName, "Name");
    EXPECT_EQ(model.device.ManufName, "Vendor");
    EXPECT_EQ(model.device.InstrumentPrefix, "Name");
}

TEST_F(ModuleLoaderTest, AFunctionListOf33NumbersUsesTheFirst32) {
    std::string file = "[Module]\nFunctionList=1";
    for (int f = 2; f <= 33; ++f) {
        file += "," + std::to_string(f);
    }
    file += "\n";
    for (int f = 1; f <= 33; ++f) {
        file += "[Function" + std::to_string(f) + "]\nModelCode=" + std::to_string(f) + "\n";
    }
    prompter.functionChoices = {31};
    ASSERT_EQ(LoadFile(file), 0);
    ASSERT_EQ(prompter.functionLists.size(), 1u);
    const std::string& list = prompter.functionLists[0];
    EXPECT_EQ(std::count(list.begin(), list.end(), ';'), 32);
    EXPECT_NE(list.find("Function32 (32);"), std::string::npos);
    EXPECT_EQ(list.find("Function33"), std::string::npos);
    EXPECT_EQ(model.device.ModelCode, "32");
}

TEST_F(ModuleLoaderTest, DetectSequencesMissingFromTheFileAreEmpty) {
    ASSERT_EQ(LoadFile("[Module]\nVISARegistration=Reg\n"
                       "[Reg]\nNumDetectSequences= 2 \n"
                       "InterruptDetect0=\"C8 BAR0 0x00000010 0xFF 0x01;R8 CFG 0x00000004;\"\n"
                       "InterruptDetect2=\"C8 CFG 0x0 0x1 0x1;\"\n"
                       "InterruptQuiesce=\"W8 BAR0 0x00000010 0x00;\"\n"),
              0);
    EXPECT_TRUE(model.device.GeneratesInterrupts);
    const std::vector<DetectSequence> expected = {
        {0, "C8 BAR0 0x00000010 0xFF 0x01;R8 CFG 0x00000004;", 2}, {1, "", 0}};
    EXPECT_EQ(model.device.DetectSequences, expected);
    EXPECT_EQ(model.device.RemovalSteps, "W8 BAR0 0x00000010 0x00;");
    EXPECT_TRUE(model.RefreshOnActivate);
}

TEST_F(ModuleLoaderTest, NoValidCountTurnsInterruptsOff) {
    for (const char* count : {"", "NumDetectSequences=0\n", "NumDetectSequences=-1\n",
                              "NumDetectSequences=two\n", "NumDetectSequences=\"\"\n"}) {
        model = TouchedModel();
        ASSERT_EQ(LoadFile(std::string("[Module]\nVISARegistration=Reg\n[Reg]\n") + count +
                           "InterruptDetect0=\"C8 CFG 0x0 0x1 0x1;\"\nInterruptQuiesce=\"x;\"\n"),
                  0);
        EXPECT_FALSE(model.device.GeneratesInterrupts) << count;
        EXPECT_TRUE(model.device.DetectSequences.empty()) << count;
        EXPECT_EQ(model.device.RemovalSteps, "") << count;
        EXPECT_TRUE(model.RefreshOnActivate) << count;
    }
}

TEST_F(ModuleLoaderTest, AHugeCountStopsWhereTheFileStopsBackingIt) {
    std::string file = "[Module]\nVISARegistration=Reg\n[Reg]\nNumDetectSequences=4294967295\n";
    for (int i = 0; i < 1100; ++i) {
        if (i != 3) {
            file += "InterruptDetect" + std::to_string(i) + "=R8 CFG 0x0;\n";
        }
    }
    ASSERT_EQ(LoadFile(file), 0);
    const std::vector<DetectSequence>& sequences = model.device.DetectSequences;
    ASSERT_EQ(sequences.size(), 1100u);
    EXPECT_EQ(sequences[3].Steps, "");
    EXPECT_EQ(sequences[1099].Number, 1099);
    EXPECT_EQ(sequences[1099].StepCount, 1);
    EXPECT_EQ(sequences[1098].Steps, "R8 CFG 0x0;");

    model = TouchedModel();
    ASSERT_EQ(LoadFile("[Module]\nVISARegistration=Reg\n[Reg]\nNumDetectSequences=4000000000\n"),
              0);
    EXPECT_EQ(model.device.DetectSequences.size(), 1024u);
}

struct RegistrationCase {
    const char* registration;
    const char* entry;
    const char* prefix;
};

TEST_F(ModuleLoaderTest, SimpleNoneAndEmptyRegistrationsNameNoSection) {
    const RegistrationCase cases[] = {
        {"Simple", "Module (0x0042);", "ModelFromModule"},
        {"NONE", "Module (0x0042);", "ModelFromModule"},
        {"\"\"", "Module (0x0042);", "ModelFromModule"},
        {"Simpler", "Module (Simpler);", "Simpler"},
    };
    for (const RegistrationCase& c : cases) {
        model = TouchedModel();
        prompter.functionLists.clear();
        std::string list;
        const std::string file = std::string("[Module]\nModelCode=0x0042\nVISARegistration=") +
                                 c.registration + "\nModuleName=Model From Module\n";
        IniDocument document = IniCreate(false);
        ASSERT_EQ(IniLoadFromMemory(*document, file), 0);
        EXPECT_EQ(ListModuleFunctions(*document, "Module", list), 0);
        EXPECT_EQ(list, c.entry) << c.registration;
        ASSERT_EQ(LoadFile(file), 0);
        EXPECT_EQ(model.device.InstrumentPrefix, c.prefix) << c.registration;
        EXPECT_FALSE(model.device.GeneratesInterrupts) << c.registration;
    }
}

TEST_F(ModuleLoaderTest, ASectionNamedSimpleIsStillReadForInterruptsAndNames) {
    ASSERT_EQ(LoadFile("[Module]\nModelCode=0x7\nVISARegistration=Simple\nModuleName=M\n"
                       "[simple]\nNumDetectSequences=1\nInterruptDetect0=\"C8 CFG 0x0 0x1 0x1;\"\n"
                       "ModelName=From Simple\n"),
              0);
    EXPECT_TRUE(model.device.GeneratesInterrupts);
    ASSERT_EQ(model.device.DetectSequences.size(), 1u);
    EXPECT_EQ(model.device.ModelName, "From Simple");
    EXPECT_EQ(model.device.InstrumentPrefix, "FromSimple");
}

TEST(CleanInstrumentPrefixTest, RemovesFileNameCharactersAndKeeps31) {
    EXPECT_EQ(CleanInstrumentPrefix("My Device [Mk2];x"), "MyDeviceMk2x");
    EXPECT_EQ(CleanInstrumentPrefix("a\\b/c:d*e?f\"g<h>i|j k[l]m%n;o\tp\nq=r"),
              "abcdefghijklmnopqr");
    EXPECT_EQ(CleanInstrumentPrefix("\r\v\f.,'!#$&()+-_~\xE9"), "\r\v\f.,'!#$&()+-_~\xE9");
    EXPECT_EQ(CleanInstrumentPrefix("0123456789 0123456789 0123456789 0123456789"),
              "0123456789012345678901234567890");
    EXPECT_EQ(CleanInstrumentPrefix(""), "");
}

TEST(ParseNumberListTest, ReadsLikeCommaSeparatedPercentD) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"1, 2,\t3", {1, 2, 3}},
        {"1 ,2", {1}},
        {"1,,2", {1}},
        {"-3,+4", {-3, 4}},
        {"  7abc,8", {7}},
        {"0x10", {0}},
        {"", {}},
        {"x,1", {}},
        {"- 1", {}},
        {"4294967297,2147483648", {1, -2147483647 - 1}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseNumberList(text), expected) << text;
    }
}

TEST_F(ModuleLoaderTest, ABridgeNamedOverAndOverCannotMakeTheWalkRunAway) {
    // Each level lists the next level's bridge 32 times 32: without a bound the walk would
    // visit 1024 to the power of the depth.
    std::string all0 = "0";
    for (int i = 1; i < 32; ++i) {
        all0 += ",0";
    }
    std::string file = "[Module]\nType=InternalBridge\nDeviceList=" + all0 + "\n";
    std::string section = "Device0";
    for (int depth = 0; depth < 12; ++depth) {
        file += "[" + section + "]\nType=InternalBridge\nFunctionList=" + all0 +
                "\nDeviceList=" + all0 + "\n";
        section += "Device0";
    }
    file += "[" + section + "]\nModelCode=1\n";
    IniDocument document = IniCreate(false);
    ASSERT_EQ(IniLoadFromMemory(*document, file), 0);
    std::string list;
    EXPECT_EQ(ListModuleFunctions(*document, "Module", list), 0);
    EXPECT_LE(std::count(list.begin(), list.end(), ';'), 4096);
}

}  // namespace
}  // namespace tessaly
