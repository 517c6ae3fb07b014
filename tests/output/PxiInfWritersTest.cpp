#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "output/InfWriters.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakeFileSystem;
using testing::MatchesGolden;
using testing::RecordingPrompter;

// No subsystem and no interrupts, yet a removal string left over: the registry lines carry it.
DeviceDescription DemoDevice() {
    DeviceDescription device;
    device.ManufCode = "0xABCD";
    device.ModelCode = "0x1234";
    device.ManufName = "Acme Instruments";
    device.ModelName = "PX-100 Counter";
    device.RemovalSteps = "W32 BAR1 0x00000100 0x00000001;";
    device.InstrumentPrefix = "demo";
    return device;
}

// Subsystem IDs, one detection sequence, a long prefix, and names with a quote, a percent sign
// and Latin-1 bytes, all copied unescaped.
DeviceDescription SubsystemDevice() {
    DeviceDescription device;
    device.ManufCode = "0xABCD";
    device.ModelCode = "0x1234";
    device.UsesSubsystem = true;
    device.SubsystemManufCode = "0x5678";
    device.SubsystemModelCode = "0x9ABC";
    device.ManufName = "Caf\xE9 \"Labs\" 100%";
    device.ModelName = "5 \xB5s Timer";
    device.GeneratesInterrupts = true;
    device.DetectSequences = {{0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1}};
    device.RemovalSteps = "R8 CFG 0x00000004;W32 BAR1 0x00000100 0x00000001;";
    device.InstrumentPrefix = "abcdefgh";
    return device;
}

// IDs loaded in lower case and three detection sequences whose labels are out of order: the
// files number the sequences by position.
DeviceDescription LowerCaseDevice() {
    DeviceDescription device;
    device.ManufCode = "0xabcd";
    device.ModelCode = "0xc4c1";
    device.ManufName = "Lower Case Ltd";
    device.ModelName = "LC-3";
    device.GeneratesInterrupts = true;
    device.DetectSequences = {
        {0, "C8 CFG 0x00000044 0xFF 0x01;", 1},
        {5, "R16 BAR0 0x00000000;C16 BAR0 0x00000002 0x8000 0x8000;", 2},
        {2, "C32 BAR2 0x00000010 0x0000FFFF 0x00000001;", 1},
    };
    device.RemovalSteps = "W16 BAR0 0x00000002 0x8000;";
    device.InstrumentPrefix = "lc";
    return device;
}

// ID texts loaded as they stood in a file (too short, too long), interrupts without any steps.
DeviceDescription ShortIdDevice() {
    DeviceDescription device;
    device.ManufCode = "0";
    device.ModelCode = "0";
    device.UsesSubsystem = true;
    device.SubsystemManufCode = "0x12345";
    device.SubsystemModelCode = "7";
    device.ManufName = "Short IDs Inc";
    device.ModelName = "";
    device.GeneratesInterrupts = true;
    device.InstrumentPrefix = "short";
    return device;
}

struct DeviceCase {
    const char* name;
    DeviceDescription (*make)();
};

const DeviceCase kDevices[] = {
    {"demo", DemoDevice},
    {"subsys", SubsystemDevice},
    {"lower", LowerCaseDevice},
    {"short", ShortIdDevice},
};

std::string RenderNt5Only(const DeviceDescription& device) {
    std::vector<std::string> ids;
    return RenderNt5Inf(device, ids);
}

// One INF flavour: how it renders, where the plan puts it, how it is written and what it says
// when it cannot be.
struct Flavour {
    const char* suffix;
    std::string (*render)(const DeviceDescription&);
    std::string OutputFiles::*path;
    std::function<void(const DeviceDescription&, OutputPlan&, FileSystem&, Prompter&)> write;
    const char* failure;
};

const Flavour kFlavours[] = {
    {"RT", RenderRtInf, &OutputFiles::RtInf,
     [](const DeviceDescription& d, OutputPlan& p, FileSystem& f, Prompter& m) {
         WriteRtInf(d, p, f, m);
     },
     "Unable to save Vantorix RT Setup Information File"},
    {"9x", Render9xInf, &OutputFiles::Inf9x,
     [](const DeviceDescription& d, OutputPlan& p, FileSystem& f, Prompter& m) {
         Write9xInf(d, p, f, m);
     },
     "Unable to save Windows 9x Setup Information File"},
    {"NT4", RenderNt4Inf, &OutputFiles::Nt4Inf,
     [](const DeviceDescription& d, OutputPlan& p, FileSystem& f, Prompter& m) {
         WriteNt4Inf(d, p, f, m);
     },
     "Unable to save Windows NT Setup Information File"},
    {"NT5", RenderNt5Only, &OutputFiles::Nt5Inf,
     [](const DeviceDescription& d, OutputPlan& p, FileSystem& f, Prompter& m) {
         WriteNt5Inf(d, p, f, m);
     },
     "Unable to save Windows XP/2000 Setup Information File"},
};

void PrintTo(const DeviceCase& device, std::ostream* out) {
    *out << device.name;
}
void PrintTo(const Flavour& flavour, std::ostream* out) {
    *out << flavour.suffix;
}

class PxiInfGoldenTest : public ::testing::TestWithParam<std::tuple<DeviceCase, Flavour>> {};

TEST_P(PxiInfGoldenTest, RendersTheFileByteForByte) {
    const auto& [device, flavour] = GetParam();
    const std::string golden = std::string("pxi_") + device.name + "_" + flavour.suffix + ".inf";
    EXPECT_TRUE(MatchesGolden(golden, flavour.render(device.make()))) << golden;
}

INSTANTIATE_TEST_SUITE_P(Devices, PxiInfGoldenTest,
                         ::testing::Combine(::testing::ValuesIn(kDevices),
                                            ::testing::ValuesIn(kFlavours)),
                         [](const ::testing::TestParamInfo<PxiInfGoldenTest::ParamType>& param) {
                             return std::string(std::get<0>(param.param).name) + "_" +
                                    std::get<1>(param.param).suffix;
                         });

TEST(Nt5InfTest, RecordsHardwareIdsInWritingOrder) {
    std::vector<std::string> ids = {"earlier"};
    RenderNt5Inf(DemoDevice(), ids);
    EXPECT_EQ(ids, (std::vector<std::string>{"earlier", "PCI\\VEN_ABCD&DEV_1234",
                                             "PCI\\VEN_ABCD&DEV_1234&SUBSYS_00000000&REV_00"}));

    ids.clear();
    RenderNt5Inf(SubsystemDevice(), ids);
    EXPECT_EQ(ids, std::vector<std::string>{"PCI\\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678"});
}

struct ProductNumberCase {
    const char* modelCode;
    const char* line;
};

class RtProductNumberTest : public ::testing::TestWithParam<ProductNumberCase> {};

TEST_P(RtProductNumberTest, TakesTheFirstThreeDigitsLowByteFirst) {
    DeviceDescription device = DemoDevice();
    device.ModelCode = GetParam().modelCode;
    const std::string expected = std::string("\r\n") + GetParam().line + "\r\n";
    EXPECT_NE(RenderRtInf(device).find(expected), std::string::npos) << GetParam().modelCode;
}

INSTANTIATE_TEST_SUITE_P(
    ModelCodes, RtProductNumberTest,
    ::testing::Values(ProductNumberCase{"0x1234", "HKR,,ProductNumber,1,23,01"},
                      ProductNumberCase{"0xC4C1", "HKR,,ProductNumber,1,4C,0C"},
                      ProductNumberCase{"123", "HKR,,ProductNumber,1,23,01"},
                      // Shorter texts read as the ID's low digits.
                      ProductNumberCase{"12", "HKR,,ProductNumber,1,01,00"},
                      ProductNumberCase{"", "HKR,,ProductNumber,1,00,00"}));

class PxiInfWriteTest : public ::testing::TestWithParam<Flavour> {
protected:
    PxiInfWriteTest() {
        files.AddDirectory("c:\\out");
        plan.Files.RtInf = "c:\\out\\abcde_RT.inf";
        plan.Files.Inf9x = "c:\\out\\abcdefgh_9x.inf";
        plan.Files.Nt4Inf = "c:\\out\\abcdefgh_NT4.inf";
        plan.Files.Nt5Inf = "c:\\out\\abcdefgh_NT5.inf";
        plan.HardwareIds = {"earlier"};
    }

    const std::string& Path() const { return plan.Files.*GetParam().path; }
    void Write() { GetParam().write(device, plan, files, prompter); }

    DeviceDescription device = SubsystemDevice();
    OutputPlan plan;
    FakeFileSystem files;
    RecordingPrompter prompter;
};

TEST_P(PxiInfWriteTest, WritesItsPathAndReplacesAnEarlierFile) {
    files.AddFile(Path(), std::string(10000, 'x'));
    Write();
    EXPECT_EQ(files.WriteLog(), std::vector<std::string>{Path()});
    EXPECT_EQ(files.Contents(Path()), GetParam().render(device));
    EXPECT_TRUE(prompter.messages.empty());

    device.ModelName = "Second";
    Write();
    EXPECT_EQ(files.Contents(Path()), GetParam().render(device));
    EXPECT_NE(files.Contents(Path()).find("=\"Second\"\r\n"), std::string::npos);
}

TEST_P(PxiInfWriteTest, LockedFileShowsItsMessageAndWritesNothing) {
    files.AddFile(Path(), "old");
    files.LockFile(Path());
    Write();
    EXPECT_EQ(
        prompter.messages,
        (std::vector<RecordingPrompter::Message>{{GetParam().failure, MessageIcon::Exclamation}}));
    EXPECT_EQ(files.Contents(Path()), "old");
    EXPECT_EQ(plan.HardwareIds, std::vector<std::string>{"earlier"});
}

TEST_P(PxiInfWriteTest, MissingDirectoryShowsItsMessage) {
    plan.Files.*GetParam().path = "c:\\missing\\file.inf";
    Write();
    EXPECT_EQ(
        prompter.messages,
        (std::vector<RecordingPrompter::Message>{{GetParam().failure, MessageIcon::Exclamation}}));
    EXPECT_FALSE(files.HasFile("c:\\missing\\file.inf"));
    EXPECT_EQ(plan.HardwareIds, std::vector<std::string>{"earlier"});
}

INSTANTIATE_TEST_SUITE_P(Flavours, PxiInfWriteTest, ::testing::ValuesIn(kFlavours),
                         [](const ::testing::TestParamInfo<Flavour>& param) {
                             return std::string(param.param.suffix);
                         });

TEST(Nt5InfTest, WriteRecordsTheIdsAfterEarlierOnes) {
    FakeFileSystem files;
    files.AddDirectory("c:\\out");
    RecordingPrompter prompter;
    OutputPlan plan;
    plan.Files.Nt5Inf = "c:\\out\\demo_NT5.inf";
    plan.HardwareIds = {"earlier"};
    WriteNt5Inf(DemoDevice(), plan, files, prompter);
    EXPECT_EQ(plan.HardwareIds,
              (std::vector<std::string>{"earlier", "PCI\\VEN_ABCD&DEV_1234",
                                        "PCI\\VEN_ABCD&DEV_1234&SUBSYS_00000000&REV_00"}));
}

}  // namespace
}  // namespace tessaly
