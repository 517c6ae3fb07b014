#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "output/ModuleFileWriter.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakePlatform;
using testing::MatchesGolden;
using Messages = std::vector<testing::RecordingPrompter::Message>;

TEST(ModuleFileTest, RendersTheGoldenFiles) {
    DeviceDescription d;
    std::tie(d.ManufCode, d.ModelCode, d.ManufName, d.ModelName, d.InstrumentPrefix) =
        std::tuple("0x1234", "0x4321", "Acme Instruments", "PXI-4321 Digitizer", "acme4321");
    EXPECT_TRUE(MatchesGolden("mdf_simple.ini", RenderModuleDescriptionFile(d)));
    d.GeneratesInterrupts = true;
    d.SubsystemModelCode = "0x9999";  // not written without UsesSubsystem
    EXPECT_TRUE(MatchesGolden("mdf_empty_removal.ini", RenderModuleDescriptionFile(d)));
    // A quote in the model name, and ID texts of which only the last four characters count.
    std::tie(d.ModelName, d.ModelCode, d.ManufCode, d.SubsystemModelCode, d.SubsystemManufCode) =
        std::tuple("PXI-4321 \"Fast\" Digitizer", "0xabcd", "0x01234", "0x0001", "0x5678");
    d.UsesSubsystem = true;
    d.DetectSequences = {{0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
                         {7, "R8 CFG 0x00000004;C32 BAR1 0x00000100 0x80000000 0x80000000;", 2}};
    d.RemovalSteps = "W32 BAR1 0x00000100 0x00000001;";
    EXPECT_TRUE(MatchesGolden("mdf_interrupts.ini", RenderModuleDescriptionFile(d)));
}

const std::string kBelow = "\\Hardware Descriptions\\Modules";
const std::string kModules = "c:\\pxi" + kBelow;
const std::string k255 = "c:\\" + std::string(252, 'p');  // fills 256 bytes with its terminator

TEST(WriteModuleFileTest, CopiesIntoTheModulesFolderWhenItCan) {
    // The resource manager's "Path", the folder made beforehand with its parents, a file holding
    // "old" that cannot be written, whether the copy is made, the message, the separator.
    const std::tuple<std::string, std::string, std::string, bool, std::string, char> cases[] = {
        {"c:\\pxi", kModules, "", true, "", '\\'},
        // Only the last level is made.
        {"c:\\pxi", "c:\\pxi\\Hardware Descriptions", "", true, "", '\\'},
        {"c:\\pxi", "c:\\pxi", "", false, "", '\\'},
        {"c:\\pxi", "c:\\pxi\\Hardware Descriptions", kModules, false, "", '\\'},
        {"c:\\pxi", kModules, kModules + "\\prefix.ini", false,
         "Unable to copy Module Description File to PXI hardware description file directory.",
         '\\'},
        {"c:\\pxi", kModules, "c:\\prefix.ini", false, "Unable to save Module Description File",
         '\\'},
        {k255 + "q", k255 + "q" + kBelow, "", false, "", '\\'},
        {k255, k255 + kBelow, "", true, "", '\\'},
        {"c:/pxi/", "c:/pxi/Hardware Descriptions", "", true, "", '/'},
        // A path the platform cannot place: no copy, wherever the program runs.
        {"", kBelow, "", false, "", '\\'},
    };
    const std::string rendered = RenderModuleDescriptionFile(DeviceDescription{});
    for (const auto& [path, directory, locked, copied, message, separator] : cases) {
        SCOPED_TRACE(path + " " + directory + " " + locked);
        FakePlatform fake(separator);
        fake.files.AddDirectory(directory);
        if (!locked.empty()) {
            fake.files.AddFile(locked, "old");
            fake.files.LockFile(locked);
        }
        fake.registry.SetString("SOFTWARE\\Quorvane\\ZEL-PXIRM\\CurrentVersion", "Path", path);
        OutputPlan plan;
        plan.Files.ModuleFile = "c:" + std::string(1, separator) + "prefix.ini";
        testing::RecordingPrompter prompter;
        WriteModuleDescriptionFile(DeviceDescription{}, plan, fake.platform(), prompter);
        EXPECT_EQ(prompter.messages,
                  Messages(!message.empty(), {message, MessageIcon::Exclamation}));
        EXPECT_EQ(fake.files.Contents(plan.Files.ModuleFile) == rendered,
                  locked != "c:\\prefix.ini");
        std::string copy = path + kBelow + "\\prefix.ini";
        std::replace(copy.begin(), copy.end(), '\\', separator);
        EXPECT_EQ(fake.files.HasFile(copy) && fake.files.Contents(copy) == rendered, copied);
    }
}

}  // namespace
}  // namespace tessaly
