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
constexpr const char* kInstDirKey = "SOFTWARE\\Quorvane\\ZEL-VISA for Windows 95/NT";

struct DefaultDirectoryCase {
    const char* name;
    const char* instDir;  // nullptr: no registry key
    bool ntFamily;
    bool versionKnown;
    const char* expectedBase;
};

// 255 characters and the terminator fit the 256-byte buffer; this does not.
const std::string kTooLongInstDir = "d:\\" + std::string(253, 'a');

class DefaultDirectoryTest : public ::testing::TestWithParam<DefaultDirectoryCase> {};

TEST_P(DefaultDirectoryTest, FormsBaseFamilyAndPrefix) {
    const DefaultDirectoryCase& c = GetParam();
    FakePlatform fake;
    if (c.instDir) {
        fake.registry.SetString(kInstDirKey, "InstDir", c.instDir);
    }
    fake.system.version =
        c.versionKnown ? std::optional<OsVersion>(OsVersion{c.ntFamily, 5, 1}) : std::nullopt;
    DeviceDescription device;
    device.InstrumentPrefix = "abc";
    OutputPlan plan;
    plan.DirectoryPrefix = "abc";
    ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, '\\');
    EXPECT_EQ(plan.BaseDirectory, c.expectedBase);
    EXPECT_EQ(device.OutputDirectory, std::string(c.expectedBase) + "abc");
    EXPECT_EQ(plan.DirectoryPrefix, "prefix");  // the literal initial prefix
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultDirectoryTest,
    ::testing::Values(
        DefaultDirectoryCase{"NoRegistry", nullptr, true, true, "c:\\vxipnp\\winnt\\"},
        DefaultDirectoryCase{"InstDirWithoutBackslash", "d:\\vxi", true, true, "d:\\vxi\\winnt\\"},
        DefaultDirectoryCase{"InstDirWithBackslash", "d:\\vxi\\", true, true, "d:\\vxi\\winnt\\"},
        DefaultDirectoryCase{"Windows9x", nullptr, false, true, "c:\\vxipnp\\win95\\"},
        DefaultDirectoryCase{"VersionUnknown", "d:\\vxi", true, false, "d:\\vxi"},
        DefaultDirectoryCase{"ValueTooLongForItsBuffer", kTooLongInstDir.c_str(), true, true,
                             "c:\\vxipnp\\winnt\\"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(OutputPlanTest, DirectoryFollowsThePrefixOnlyInItsDefaultForm) {
    FakePlatform fake;
    DeviceDescription device;
    OutputPlan plan;
    ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, '\\');
    ASSERT_EQ(device.OutputDirectory, "c:\\vxipnp\\winnt\\prefix");

    // Every keystroke moves it along.
    for (const char* typed : {"a", "ab", "abc"}) {
        device.InstrumentPrefix = typed;
        FollowPrefixInDirectory(device, plan, '\\');
        EXPECT_EQ(device.OutputDirectory, std::string("c:\\vxipnp\\winnt\\") + typed);
    }

    device.OutputDirectory = "c:\\elsewhere\\abc";
    device.InstrumentPrefix = "xyz";
    FollowPrefixInDirectory(device, plan, '\\');
    EXPECT_EQ(device.OutputDirectory, "c:\\elsewhere\\abc");

    // Edited back to base + directory prefix, it follows again; case matters.
    device.OutputDirectory = "C:\\vxipnp\\winnt\\abc";
    FollowPrefixInDirectory(device, plan, '\\');
    EXPECT_EQ(device.OutputDirectory, "C:\\vxipnp\\winnt\\abc");
    device.OutputDirectory = "c:\\vxipnp\\winnt\\abc";
    FollowPrefixInDirectory(device, plan, '\\');
    EXPECT_EQ(device.OutputDirectory, "c:\\vxipnp\\winnt\\xyz");

    device.OutputDirectory = "relative";  // no separator: left alone
    FollowPrefixInDirectory(device, plan, '\\');
    EXPECT_EQ(device.OutputDirectory, "relative");
}

TEST(OutputPlanTest, PrefixLoadedBeforeThePageKeepsTheDirectoryPut) {
    FakePlatform fake;
    DeviceDescription device;
    device.InstrumentPrefix = "Loaded";
    OutputPlan plan;
    ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, '\\');
    EXPECT_EQ(device.OutputDirectory, "c:\\vxipnp\\winnt\\Loaded");
    device.InstrumentPrefix = "Other";
    FollowPrefixInDirectory(device, plan, '\\');
    EXPECT_EQ(device.OutputDirectory, "c:\\vxipnp\\winnt\\Loaded");
}

TEST(OutputPlanTest, FileNamesAndTheShownList) {
    DeviceDescription device;
    device.InstrumentPrefix = "abcdefgh";
    device.OutputDirectory = "c:\\out";
    OutputPlan plan;
    ComposeFileNames(device, plan, '\\');
    EXPECT_EQ(plan.Files.RtInf, "c:\\out\\abcde_RT.inf");
    EXPECT_EQ(plan.Files.Inf9x, "c:\\out\\abcdefgh_9x.inf");
    EXPECT_EQ(plan.Files.Nt4Inf, "c:\\out\\abcdefgh_NT4.inf");
    EXPECT_EQ(plan.Files.Nt5Inf, "c:\\out\\abcdefgh_NT5.inf");
    EXPECT_EQ(plan.Files.ModuleFile, "c:\\out\\abcdefgh.ini");
    EXPECT_EQ(plan.Files.WdmInf, "c:\\out\\abcdefgh_WDM.inf");
    EXPECT_EQ(FileListText(plan),
              "c:\\out\\abcde_RT.inf\r\nc:\\out\\abcdefgh_9x.inf\r\nc:\\out\\abcdefgh_NT4.inf\r\n"
              "c:\\out\\abcdefgh_NT5.inf\r\nc:\\out\\abcdefgh.ini");
    plan.Bus = kBusUsb;
    EXPECT_EQ(FileListText(plan), "c:\\out\\abcdefgh_WDM.inf");

    device.InstrumentPrefix = "";
    device.OutputDirectory = "c:\\";
    ComposeFileNames(device, plan, '\\');
    EXPECT_EQ(plan.Files.RtInf, "c:\\\\_RT.inf");
    EXPECT_EQ(plan.Files.ModuleFile, "c:\\\\.ini");

    device.InstrumentPrefix = "abc";
    device.OutputDirectory = "/home/u/out";
    ComposeFileNames(device, plan, '/');
    EXPECT_EQ(plan.Files.Inf9x, "/home/u/out/abc_9x.inf");
}

struct PrefixCase {
    std::string prefix;
    bool valid;
};

class PrefixRuleTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(PrefixRuleTest, ViolationShowsTheMessageAndResets) {
    const PrefixCase& c = GetParam();
    FakePlatform fake;
    RecordingPrompter prompter;
    DeviceDescription device;
    OutputPlan plan;
    ComputeDefaultOutputDirectory(device, plan, fake.registry, fake.system, '\\');
    device.InstrumentPrefix = c.prefix;
    EXPECT_EQ(ValidatePrefix(device, plan, '\\', prompter), c.valid);
    if (c.valid) {
        EXPECT_TRUE(prompter.messages.empty());
        EXPECT_EQ(device.InstrumentPrefix, c.prefix);
    } else {
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, kPrefixMessage);
        EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(device.InstrumentPrefix, "prefix");
    }
    // The directory and the file names follow the (possibly reset) prefix.
    EXPECT_EQ(device.OutputDirectory, "c:\\vxipnp\\winnt\\" + device.InstrumentPrefix);
    EXPECT_EQ(plan.Files.Inf9x,
              device.OutputDirectory + "\\" + device.InstrumentPrefix + "_9x.inf");
}

std::vector<PrefixCase> PrefixCases() {
    std::vector<PrefixCase> cases = {
        {std::string(31, 'a'), true}, {std::string(32, 'a'), false}, {"", true},
        {"abc_def-1.2", true},        {"\xE9t\xE9", true},
    };
    for (char c : std::string("\\/:*?\"<>| []%;\t\n=")) {
        cases.push_back({std::string("ab") + c + "cd", false});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Prefixes, PrefixRuleTest, ::testing::ValuesIn(PrefixCases()));

}  // namespace
}  // namespace tessaly
