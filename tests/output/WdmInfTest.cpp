#include <gtest/gtest.h>

#include <ostream>
#include <string>
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
using Ids = std::vector<std::string>;

DeviceDescription SimpleUsbDevice() {
    DeviceDescription device;
    device.BusType = kBusUsb;
    device.UsbVendorId = "0x1234";
    device.UsbProductId = "0xABCD";
    device.UsbManufName = "Acme Instruments";
    device.UsbModelName = "Model 42 Counter";
    device.InstrumentPrefix = "dev";
    return device;
}

DeviceDescription CompoundUsbDevice() {
    DeviceDescription device = SimpleUsbDevice();
    device.IsCompoundDevice = true;
    device.InterfaceCount = 3;
    device.InterfaceCountText = "3";
    return device;
}

// Texts that reach the file unchanged: quotes, percent signs and a Latin-1 byte in the names,
// a lower-case vendor ID and a product ID shorter than four characters.
DeviceDescription OddTextsUsbDevice() {
    DeviceDescription device = SimpleUsbDevice();
    device.UsbVendorId = "0x1a2b";
    device.UsbProductId = "7";
    device.UsbManufName = "Caf\xE9 \"Labs\" 100%";
    device.UsbModelName = "50% \"Probe\" \xE9";
    device.InstrumentPrefix = "odd";
    return device;
}

struct GoldenCase {
    const char* golden;
    DeviceDescription (*device)();
    Ids ids;
};

void PrintTo(const GoldenCase& golden, std::ostream* out) {
    *out << golden.golden;
}

class WdmInfGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(WdmInfGoldenTest, RendersTheFileAndAppendsItsHardwareIds) {
    Ids ids = {"from an earlier writer"};
    const std::string text = RenderWdmInf(GetParam().device(), ids);
    EXPECT_TRUE(MatchesGolden(GetParam().golden, text));
    Ids expected = {"from an earlier writer"};
    expected.insert(expected.end(), GetParam().ids.begin(), GetParam().ids.end());
    EXPECT_EQ(ids, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, WdmInfGoldenTest,
    ::testing::Values(GoldenCase{"wdm_simple.inf", SimpleUsbDevice, {"USB\\VID_1234&PID_ABCD"}},
                      GoldenCase{"wdm_compound.inf",
                                 CompoundUsbDevice,
                                 {"USB\\VID_1234&PID_ABCD&MI_00", "USB\\VID_1234&PID_ABCD&MI_01",
                                  "USB\\VID_1234&PID_ABCD&MI_02"}},
                      GoldenCase{"wdm_odd_texts.inf", OddTextsUsbDevice, {"USB\\VID_1a2b&PID_7"}}));

TEST(WdmInfTest, InterfaceNumbersHaveTwoDigits) {
    DeviceDescription device = CompoundUsbDevice();
    device.InterfaceCount = 11;
    Ids ids;
    RenderWdmInf(device, ids);
    ASSERT_EQ(ids.size(), 11u);
    EXPECT_EQ(ids[9], "USB\\VID_1234&PID_ABCD&MI_09");
    EXPECT_EQ(ids[10], "USB\\VID_1234&PID_ABCD&MI_10");

    device.IsCompoundDevice = false;  // the count no longer matters
    ids.clear();
    RenderWdmInf(device, ids);
    EXPECT_EQ(ids, Ids{"USB\\VID_1234&PID_ABCD"});
}

class WriteWdmInfTest : public ::testing::Test {
protected:
    WriteWdmInfTest() {
        files.AddDirectory("c:\\out");
        plan.Bus = kBusUsb;
        plan.Files.WdmInf = "c:\\out\\dev_WDM.inf";
        plan.HardwareIds = {"kept"};
    }

    FakeFileSystem files;
    RecordingPrompter prompter;
    OutputPlan plan;
};

TEST_F(WriteWdmInfTest, WritesTheFileAndRecordsItsIds) {
    WriteWdmInf(CompoundUsbDevice(), plan, files, prompter);
    ASSERT_TRUE(files.HasFile("c:\\out\\dev_WDM.inf"));
    EXPECT_TRUE(MatchesGolden("wdm_compound.inf", files.Contents("c:\\out\\dev_WDM.inf")));
    EXPECT_EQ(plan.HardwareIds,
              (Ids{"kept", "USB\\VID_1234&PID_ABCD&MI_00", "USB\\VID_1234&PID_ABCD&MI_01",
                   "USB\\VID_1234&PID_ABCD&MI_02"}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WriteWdmInfTest, FileThatCannotBeOpenedGivesTheMessageAndNoIds) {
    files.AddFile("c:\\out\\dev_WDM.inf", "old");
    files.LockFile("c:\\out\\dev_WDM.inf");
    plan.Files.WdmInf = "c:\\out\\dev_WDM.inf";
    WriteWdmInf(SimpleUsbDevice(), plan, files, prompter);

    plan.Files.WdmInf = "c:\\missing\\dev_WDM.inf";
    WriteWdmInf(SimpleUsbDevice(), plan, files, prompter);

    const RecordingPrompter::Message expected{"Unable to save Windows WDM Setup Information File",
                                              MessageIcon::Exclamation};
    EXPECT_EQ(prompter.messages, (std::vector<RecordingPrompter::Message>{expected, expected}));
    EXPECT_EQ(plan.HardwareIds, Ids{"kept"});
    EXPECT_EQ(files.Contents("c:\\out\\dev_WDM.inf"), "old");
    EXPECT_FALSE(files.HasFile("c:\\missing\\dev_WDM.inf"));
}

}  // namespace
}  // namespace tessaly
