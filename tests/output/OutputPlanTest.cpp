#include <gtest/gtest.h>

#include "output/OutputPlan.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakePlatform;
using testing::RecordingPrompter;

constexpr const char* kPrefixMessage =
    "All VXIplug&play compliant instrument drivers must limit the instrument prefix to 31 "
    "characters.\nIn addition, the characters must be valid in the context of a filename.";

TEST(OutputPlanTest, DefaultDirectoryComesFromInstDirOrTheBaseAndTheFamily) {
    struct Case {
        std::optional<std::string> instDir;
        std::optional<OsVersion> version;
        const char* base;
    };
    const OsVersion nt{true, 5, 1};
    const Case cases[] = {
        {std::nullopt, nt, "c:\\vxipnp\\winnt\\"},
        {"d:\\vxi", nt, "d:\\vxi\\winnt\\"},
        {"d:\\vxi\\", nt, "d:\\vxi\\winnt\\"},
        {std::nullopt, OsVersion{false, 4, 10}, "c:\\vxipnp\\win95\\"},
        {"d:\\vxi", std::nullopt, "d:\\vxi"},
        // 256 characters do not fit the value's 256-byte buffer with its terminator.
        {"d:\\" + std::string(253, 'a'), nt, "c:\\vxipnp\\winnt\\"},
        // A value the platform cannot use as a folder is no base at all: "winnt\" alone would
        // land wherever the program runs.
        {"", nt, "c:\\vxipnp\\winnt\\"},
    };
    for (const Case& c : cases) {
        FakePlatform fake;
        if (c.instDir) {
            fake.registry.SetString("SOFTWARE\\Quorvane\\ZEL-VISA for Windows 95/NT", "InstDir",
                                    *c.instDir);
        }
        fake.system.version = c.version;
        DeviceDescription device;
        device.InstrumentPrefix = "abc";
        OutputPlan plan;
        ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, fake.files);
        EXPECT_EQ(plan.BaseDirectory, c.base);
        EXPECT_EQ(device.OutputDirectory, std::string(c.base) + "abc");
        EXPECT_EQ(plan.DirectoryPrefix, "prefix");  // the literal initial prefix, not "abc"
    }
}

TEST(OutputPlanTest, DirectoryFollowsThePrefixOnlyInItsDefaultForm) {
    FakePlatform fake;
    DeviceDescription device;
    OutputPlan plan;
    ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, fake.files);
    // Each step: directory field before, prefix typed, directory expected after.
    const struct {
        const char* directory;
        const char* prefix;
        const char* expected;
    } steps[] = {
        {"c:\\vxipnp\\winnt\\prefix", "a", "c:\\vxipnp\\winnt\\a"},
        {"c:\\vxipnp\\winnt\\a", "abc", "c:\\vxipnp\\winnt\\abc"},
        {"c:\\elsewhere\\abc", "xyz", "c:\\elsewhere\\abc"},
        {"C:\\vxipnp\\winnt\\abc", "xyz", "C:\\vxipnp\\winnt\\abc"},  // compared with case
        {"c:\\vxipnp\\winnt\\abc", "xyz", "c:\\vxipnp\\winnt\\xyz"},  // back in default form
        {"relative", "q", "relative"},
    };
    for (const auto& step : steps) {
        device.OutputDirectory = step.directory;
        device.InstrumentPrefix = step.prefix;
        FollowPrefixInDirectory(device, plan, fake.files);
        EXPECT_EQ(device.OutputDirectory, step.expected) << step.directory;
    }

    // A prefix loaded before the page computed its default does not move the directory.
    device.InstrumentPrefix = "Loaded";
    ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, fake.files);
    device.InstrumentPrefix = "Other";
    FollowPrefixInDirectory(device, plan, fake.files);
    EXPECT_EQ(device.OutputDirectory, "c:\\vxipnp\\winnt\\Loaded");
}

TEST(OutputPlanTest, FileNamesAndTheShownList) {
    const testing::FakeFileSystem files;
    DeviceDescription device;
    device.InstrumentPrefix = "abcdefgh";
    device.OutputDirectory = "c:\\out";
    OutputPlan plan;
    ComposeFileNames(device, plan, files);
    EXPECT_EQ(FileListText(plan, Bus::PxiPci),
              "c:\\out\\abcde_RT.inf\r\nc:\\out\\abcdefgh_9x.inf\r\nc:\\out\\abcdefgh_NT4.inf\r\n"
              "c:\\out\\abcdefgh_NT5.inf\r\nc:\\out\\abcdefgh.ini");
    EXPECT_EQ(FileListText(plan, Bus::Usb), "c:\\out\\abcdefgh_WDM.inf");

    device.InstrumentPrefix = "";
    device.OutputDirectory = "c:\\";  // the separator is added even after a root
    ComposeFileNames(device, plan, files);
    EXPECT_EQ(plan.Files.RtInf, "c:\\\\_RT.inf");
}

TEST(OutputPlanTest, PrefixViolationShowsTheMessageAndResetsDirectoryAndFiles) {
    std::vector<std::pair<std::string, bool>> cases = {{std::string(31, 'a'), true},
                                                       {std::string(32, 'a'), false},
                                                       {"", true},
                                                       {"\xE9t\xE9", true},
                                                       {"...", true},
                                                       {".", false},
                                                       {"..", false}};
    for (char c : std::string("\\/:*?\"<>| []%;\t\n=\x01\r\x1F\x7F")) {
        cases.push_back({std::string("ab") + c + "cd", false});
    }
    for (const auto& [prefix, valid] : cases) {
        FakePlatform fake;
        RecordingPrompter prompter;
        DeviceDescription device;
        OutputPlan plan;
        ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, fake.files);
        device.InstrumentPrefix = prefix;
        EXPECT_EQ(ValidatePrefix(device, plan, fake.files, prompter), valid) << prefix;
        const std::string kept = valid ? prefix : "prefix";
        EXPECT_EQ(device.InstrumentPrefix, kept);
        using Messages = std::vector<RecordingPrompter::Message>;
        const Messages expected =
            valid ? Messages{} : Messages{{kPrefixMessage, MessageIcon::Stop}};
        EXPECT_EQ(prompter.messages, expected);
        EXPECT_EQ(plan.Files.Inf9x, "c:\\vxipnp\\winnt\\" + kept + "\\" + kept + "_9x.inf");
    }
}

// The prefix is Latin-1 text; in a path it takes the file system's encoding, in the default
// directory, as the directory follows it, and in every file name. A "/" fake names files in
// UTF-8 as Linux does; a "\\" one keeps the ANSI bytes as Windows does.
TEST(OutputPlanTest, APrefixEntersPathsInTheFileSystemsEncoding) {
    for (const char separator : {'/', '\\'}) {
        FakePlatform fake(separator);
        const std::string s(1, separator);
        const auto path = [separator](const std::string& latin1, const std::string& utf8) {
            return separator == '/' ? utf8 : latin1;
        };
        fake.system.defaultOutputBase = "base" + s;
        DeviceDescription device;
        device.InstrumentPrefix = "caf\xE9";
        OutputPlan plan;
        ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, fake.files);
        EXPECT_EQ(device.OutputDirectory,
                  "base" + s + "winnt" + s + path("caf\xE9", "caf\xC3\xA9"));

        // Typed on a fresh page: the directory follows each keystroke, é included.
        device.OutputDirectory = plan.BaseDirectory + "prefix";
        for (const std::string typed : {"\xE9", "\xE9t\xE9", "\xE9t\xE9s"}) {
            device.InstrumentPrefix = typed;
            FollowPrefixInDirectory(device, plan, fake.files);
        }
        EXPECT_EQ(device.OutputDirectory,
                  plan.BaseDirectory + path("\xE9t\xE9s", "\xC3\xA9t\xC3\xA9s"));

        // Five characters for the real-time file, not five bytes.
        device.InstrumentPrefix = "\xE9\xE8\xEA\xEB\xE0\xE2";
        ComposeFileNames(device, plan, fake.files);
        const std::string head = device.OutputDirectory + s;
        EXPECT_EQ(plan.Files.RtInf,
                  head + path("\xE9\xE8\xEA\xEB\xE0", "\xC3\xA9\xC3\xA8\xC3\xAA\xC3\xAB\xC3\xA0") +
                      "_RT.inf");
        EXPECT_EQ(plan.Files.Nt5Inf,
                  head + path(device.InstrumentPrefix, Latin1ToUtf8(device.InstrumentPrefix)) +
                      "_NT5.inf");
    }
}

}  // namespace
}  // namespace tessaly
