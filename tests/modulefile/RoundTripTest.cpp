// A Module Description File the wizard writes loads back to the values it was written from.
#include <gtest/gtest.h>

#include "modulefile/ModuleFileWriter.h"
#include "modulefile/ModuleLoader.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

DeviceDescription Loaded(const DeviceDescription& written) {
    testing::FakeFileSystem files;
    files.AddFile("c:\\m.ini", RenderModuleDescriptionFile(written));
    testing::RecordingPrompter prompter;
    WizardModel model;
    EXPECT_EQ(LoadModuleDescriptionFile(model, "c:\\m.ini", files, prompter), 0);  // no chooser
    return model.device;
}

TEST(RoundTripTest, DeviceWithSubsystemAndInterruptsComesBackWhole) {
    DeviceDescription written;
    written.ManufCode = "0xABCD";
    written.ModelCode = "0x1234";
    written.UsesSubsystem = written.GeneratesInterrupts = true;
    written.SubsystemManufCode = "0x5678";
    written.SubsystemModelCode = "0x9ABC";
    written.ManufName = "Acme Instruments, Inc.";
    written.ModelName = "Scope 9 \xB5-series";
    written.DetectSequences = {{0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
                               {7, "R8 CFG 0x00000004;C8 BAR2 0x00000000 0x0F 0x01;", 2},
                               {2, "", 0}};
    written.RemovalSteps = "W32 BAR1 0x00000100 0x00000001;R8 CFG 0x00000004;";
    written.InstrumentPrefix = "acme_scope9";
    DeviceDescription expected = written;
    expected.DetectSequences[1].Number = 1;  // labels are not written: they count from 0
    EXPECT_EQ(Loaded(written), expected);
}

TEST(RoundTripTest, SimpleDeviceTakesItsPrefixFromTheModelName) {
    DeviceDescription written;
    written.ManufCode = "0x10E8";
    written.ModelCode = "0x00FF";
    written.ModelName = "DMM [6.5 digit]";
    DeviceDescription expected = written;
    expected.SubsystemManufCode = expected.SubsystemModelCode = "";
    expected.InstrumentPrefix = "DMM6.5digit";
    EXPECT_EQ(Loaded(written), expected);
}

}  // namespace
}  // namespace tessaly
