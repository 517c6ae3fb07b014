#include <gtest/gtest.h>

#include "device/DeviceChecks.h"
#include "resources/StringTable.h"

namespace tessaly {
namespace {

TEST(DeviceChecksTest, PxiPageRefusesZeroIdsInOrder) {
    DeviceDescription device;
    EXPECT_EQ(CheckPxiPage(device), std::nullopt);

    device.SubsystemManufCode = "0x0000";  // the default, ignored without subsystem
    EXPECT_EQ(CheckPxiPage(device), std::nullopt);

    device.UsesSubsystem = true;
    EXPECT_EQ(CheckPxiPage(device), strings::kSubsystemManufacturerIdZero);

    device.ManufCode = "0x0000";  // checked first
    EXPECT_EQ(CheckPxiPage(device), strings::kManufacturerIdZero);

    device.ManufCode = "0";  // loaded texts are not normalised: not zero by the textual test
    device.SubsystemManufCode = "0X0000";
    EXPECT_EQ(CheckPxiPage(device), std::nullopt);

    device.ModelCode = "0x0000";  // never tested
    EXPECT_EQ(CheckPxiPage(device), std::nullopt);
}

struct CountCase {
    const char* text;
    bool accepted;
    int stored;  // InterfaceCount afterwards
};

class InterfaceCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(InterfaceCountTest, CompoundDeviceNeedsTwoTo99Interfaces) {
    DeviceDescription device;
    device.IsCompoundDevice = true;
    device.InterfaceCount = 7;
    device.InterfaceCountText = GetParam().text;
    const auto message = CheckUsbPage(device);
    if (GetParam().accepted) {
        EXPECT_EQ(message, std::nullopt);
    } else {
        EXPECT_EQ(message, strings::kInterfaceCountInvalid);
    }
    EXPECT_EQ(device.InterfaceCount, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Texts, InterfaceCountTest,
                         ::testing::Values(CountCase{"2", true, 2}, CountCase{"99", true, 99},
                                           CountCase{"5x", true, 5}, CountCase{" 12", true, 12},
                                           CountCase{"1", false, 1}, CountCase{"100", false, 100},
                                           CountCase{"-3", false, -3}, CountCase{"", false, 7},
                                           CountCase{"abc", false, 7}));

TEST(DeviceChecksTest, UsbPageChecksVendorFirstAndIgnoresCountWhenNotCompound) {
    DeviceDescription device;
    device.InterfaceCountText = "1";
    device.UsbProductId = "0x0000";
    EXPECT_EQ(CheckUsbPage(device), std::nullopt);
    EXPECT_EQ(device.InterfaceCount, 2);

    device.IsCompoundDevice = true;
    device.UsbVendorId = "0x0000";
    EXPECT_EQ(CheckUsbPage(device), strings::kManufacturerIdZero);
}

}  // namespace
}  // namespace tessaly
