#include <gtest/gtest.h>

#include "device/DeviceChecks.h"
#include "device/IdText.h"
#include "resources/StringTable.h"

namespace tessaly {
namespace {

TEST(DeviceChecksTest, PxiPageRefusesZeroIdsInOrder) {
    struct Case {
        const char* manuf;
        bool usesSubsystem;
        const char* subsystemManuf;
        std::optional<std::string_view> message;
    };
    const Case cases[] = {
        {"0xFFFF", false, "0x0000", std::nullopt},  // ignored without subsystem
        {"0xFFFF", true, "0x0000", strings::kSubsystemManufacturerIdZero},
        {"0x0000", true, "0x0000", strings::kManufacturerIdZero},  // checked first
        {"0", true, "0X0000", std::nullopt},  // loaded texts are not zero by the textual test
    };
    for (const Case& c : cases) {
        DeviceDescription device;
        device.ManufCode = c.manuf;
        device.ModelCode = "0x0000";  // never tested
        device.UsesSubsystem = c.usesSubsystem;
        device.SubsystemManufCode = c.subsystemManuf;
        EXPECT_EQ(CheckPxiPage(device), c.message) << c.manuf << " " << c.subsystemManuf;
    }
}

TEST(DeviceChecksTest, UsbPageChecksVendorThenTheInterfaceCountOfACompoundDevice) {
    struct Case {
        const char* vendor;
        bool compound;
        const char* count;
        bool accepted;
        int stored;  // InterfaceCount afterwards; it was 7
    };
    const Case cases[] = {
        {"0x0000", true, "2", false, 7},     {"0xFFFF", false, "1", true, 7},
        {"0xFFFF", true, "2", true, 2},      {"0xFFFF", true, "99", true, 99},
        {"0xFFFF", true, "5x", true, 5},     {"0xFFFF", true, "1", false, 1},
        {"0xFFFF", true, "100", false, 100}, {"0xFFFF", true, "abc", false, 7},
    };
    for (const Case& c : cases) {
        DeviceDescription device;
        device.UsbVendorId = c.vendor;
        device.UsbProductId = "0x0000";
        device.IsCompoundDevice = c.compound;
        device.InterfaceCount = 7;
        device.InterfaceCountText = c.count;
        const auto expected = c.accepted ? std::nullopt
                              : IsZeroIdText(c.vendor)
                                  ? std::optional(strings::kManufacturerIdZero)
                                  : std::optional(strings::kInterfaceCountInvalid);
        EXPECT_EQ(CheckUsbPage(device), expected) << c.vendor << " " << c.count;
        EXPECT_EQ(device.InterfaceCount, c.stored) << c.count;
    }
}

}  // namespace
}  // namespace tessaly
