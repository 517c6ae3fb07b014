// A Module Description File the wizard writes loads back to the values it was written from.
#include <gtest/gtest.h>

#include "modulefile/ModuleFileWriter.h"
#include "modulefile/ModuleLoader.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

DeviceDescription Loaded(const DeviceDescription& written) {
    testing::TempDir dir;
    testing::RecordingPrompter prompter;
    WizardModel model;
    const std::string path = dir.Write("m.ini", RenderModuleDescriptionFile(written));
    EXPECT_EQ(LoadModuleDescriptionFile(model, path, prompter), 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.functionLists.empty());  // one function: no chooser
    return model.device;
}

TEST(RoundTripTest, DeviceWithSubsystemAndInterruptsComesBackWhole) {
    DeviceDescription written;
    written.ManufCode = "0xABCD";
    written.ModelCode = "0x1234";
    written.UsesSubsystem = true;
    written.SubsystemManufCode = "0x5678";
    written.SubsystemModelCode = "0x9ABC";
    written.ManufName = "Acme Instruments, Inc.";
    written.ModelName = "Scope 9 \xB5-series";
    written.GeneratesInterrupts = true;
    written.DetectSequences = {
        {0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
        {7, "R8 CFG 0x00000004;C8 BAR2 0x00000000 0x0F 0x01;", 2},  // labels are not written
        {3, "", 0},
    };
    written.RemovalSteps = "W32 BAR1 0x00000100 0x00000001;R8 CFG 0x00000004;";
    written.InstrumentPrefix = "acme_scope9";

    const DeviceDescription loaded = Loaded(written);
    EXPECT_EQ(loaded.ManufCode, written.ManufCode);
    EXPECT_EQ(loaded.ModelCode, written.ModelCode);
    EXPECT_TRUE(loaded.UsesSubsystem);
    EXPECT_EQ(loaded.SubsystemManufCode, written.SubsystemManufCode);
    EXPECT_EQ(loaded.SubsystemModelCode, written.SubsystemModelCode);
    EXPECT_EQ(loaded.ManufName, written.ManufName);
    EXPECT_EQ(loaded.ModelName, written.ModelName);
    EXPECT_TRUE(loaded.GeneratesInterrupts);
    EXPECT_EQ(loaded.DetectSequences, (std::vector<DetectSequence>{
                                          {0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
                                          {1, "R8 CFG 0x00000004;C8 BAR2 0x00000000 0x0F 0x01;", 2},
                                          {2, "", 0},
                                      }));
    EXPECT_EQ(loaded.RemovalSteps, written.RemovalSteps);
    EXPECT_EQ(loaded.InstrumentPrefix, written.InstrumentPrefix);
}

TEST(RoundTripTest, SimpleDeviceTakesItsPrefixFromTheModelName) {
    DeviceDescription written;
    written.ManufCode = "0x10E8";
    written.ModelCode = "0x00FF";
    written.ModelName = "DMM [6.5 digit]";
    written.InstrumentPrefix = "dmm";

    const DeviceDescription loaded = Loaded(written);
    EXPECT_EQ(loaded.ManufCode, "0x10E8");
    EXPECT_EQ(loaded.ModelCode, "0x00FF");
    EXPECT_EQ(loaded.ManufName, written.ManufName);
    EXPECT_EQ(loaded.ModelName, written.ModelName);
    EXPECT_FALSE(loaded.UsesSubsystem);
    EXPECT_EQ(loaded.SubsystemManufCode, "");
    EXPECT_FALSE(loaded.GeneratesInterrupts);
    EXPECT_TRUE(loaded.DetectSequences.empty());
    EXPECT_EQ(loaded.InstrumentPrefix, "DMM6.5digit");
}

}  // namespace
}  // namespace tessaly
