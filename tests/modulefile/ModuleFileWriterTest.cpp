#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "modulefile/ModuleFileWriter.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakePlatform;
using testing::MatchesGolden;
using Messages = std::vector<testing::RecordingPrompter::Message>;

TEST(ModuleFileTest, RendersTheGoldenFiles) {
    DeviceDescription device;
    device.ManufCode = "0x1234";
    device.ModelCode = "0x4321";
    device.ManufName = "Acme Instruments";
    device.ModelName = "PXI-4321 Digitizer";
    device.InstrumentPrefix = "acme4321";
    EXPECT_TRUE(MatchesGolden("mdf_simple.ini", RenderModuleDescriptionFile(device)));
    device.GeneratesInterrupts = true;
    device.SubsystemModelCode = "0x9999";  // not written without UsesSubsystem
    EXPECT_TRUE(MatchesGolden("mdf_empty_removal.ini", RenderModuleDescriptionFile(device)));
    // A quote in the model name, and ID texts of which only the last four characters count.
    device.ModelName = "PXI-4321 \"Fast\" Digitizer";
    device.ModelCode = "0xabcd";
    device.ManufCode = "0x01234";
    device.UsesSubsystem = true;
    device.SubsystemModelCode = "0x0001";
    device.SubsystemManufCode = "0x5678";
    device.DetectSequences = {
        {0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
        {7, "R8 CFG 0x00000004;C32 BAR1 0x00000100 0x80000000 0x80000000;", 2}};
    device.RemovalSteps = "W32 BAR1 0x00000100 0x00000001;";
    EXPECT_TRUE(MatchesGolden("mdf_interrupts.ini", RenderModuleDescriptionFile(device)));
}

const std::string kBelow = "\\Hardware Descriptions\\Modules";
const std::string kModules = "c:\\pxi" + kBelow;
const std::string k255 = "c:\\" + std::string(252, 'p');  // fills 256 bytes with its terminator

TEST(WriteModuleFileTest, CopiesIntoTheModulesFolderWhenItCan) {
    struct Case {
        std::string path;       // the resource manager's "Path"
        std::string directory;  // made beforehand, with its parents
        std::string locked;     // a file holding "old" that cannot be written
        bool copied;
        std::string message;
        char separator = '\\';
        std::string key = "SOFTWARE\\Quorvane\\ZEL-PXIRM\\CurrentVersion";  // holding "Path"
    } cases[] = {
        {"c:\\pxi", kModules, "", true, ""},
        {"c:\\pxi", "c:\\pxi\\Hardware Descriptions", "", true, ""},  // Modules is made
        {"c:\\pxi", "c:\\pxi", "", false, ""},
        {"c:\\pxi", "c:\\pxi\\Hardware Descriptions", kModules, false, ""},
        {"c:\\pxi", kModules, kModules + "\\prefix.ini", false,
         "Unable to copy Module Description File to PXI hardware description file directory."},
        {"c:\\pxi", kModules, "c:\\prefix.ini", false, "Unable to save Module Description File"},
        {"c:\\pxi", kModules, "", false, "", '\\', "SOFTWARE\\Quorvane\\ZEL-PXIRM"},
        {k255 + "q", k255 + "q" + kBelow, "", false, ""},
        {k255, k255 + kBelow, "", true, ""},
        {"c:/pxi/", "c:/pxi/Hardware Descriptions", "", true, "", '/'},
    };
    const std::string rendered = RenderModuleDescriptionFile(DeviceDescription{});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " " + c.directory + " " + c.locked);
        FakePlatform fake(c.separator);
        fake.files.AddDirectory("c:");
        fake.files.AddDirectory(c.directory);
        if (!c.locked.empty()) {
            fake.files.AddFile(c.locked, "old");
            fake.files.LockFile(c.locked);
        }
        fake.registry.SetString(c.key, "Path", c.path);
        OutputPlan plan;
        plan.Files.ModuleFile = "c:" + std::string(1, c.separator) + "prefix.ini";
        testing::RecordingPrompter prompter;
        WriteModuleDescriptionFile(DeviceDescription{}, plan, fake.platform(), prompter);
        EXPECT_EQ(prompter.messages, c.message.empty()
                                         ? Messages()
                                         : Messages({{c.message, MessageIcon::Exclamation}}));
        EXPECT_EQ(fake.files.Contents(plan.Files.ModuleFile) == rendered,
                  c.locked != "c:\\prefix.ini");
        std::string copy = c.path + kBelow + "\\prefix.ini";
        std::replace(copy.begin(), copy.end(), '\\', c.separator);
        EXPECT_EQ(fake.files.HasFile(copy) && fake.files.Contents(copy) == rendered, c.copied);
    }
}

}  // namespace
}  // namespace tessaly
