#include <gtest/gtest.h>

#include "discovery/HardwareIds.h"

namespace tessaly {
namespace {

// One device per row, its hardware IDs and compatible IDs; the function it is, if any.
TEST(HardwareIdsTest, PciFunctionsComeFromTheirHardwareIds) {
    struct Row {
        std::vector<std::string> hardwareIds;
        std::vector<std::string> compatibleIds;
        std::optional<PciDevice> expected;  // address (set below), IDs, subsystem IDs, class
    };
    const Row rows[] = {
        {{"PCI\\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678&REV_01", "PCI\\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678",
          "PCI\\VEN_ABCD&DEV_1234&CC_118000"},
         {"PCI\\VEN_ABCD&DEV_1234&REV_01", "PCI\\VEN_ABCD&CC_1180", "PCI\\CC_118000"},
         PciDevice{"", 0xABCD, 0x1234, 0x5678, 0x9ABC, 0x118000}},
        {{"pci\\ven_8086&dev_100e&rev_02"},
         {"PCI\\CC_0200", "PCI\\VEN_8086&DEV_100E&CC_020000"},
         PciDevice{"", 0x8086, 0x100E, 0, 0, 0x020000}},
        {{"PCI\\VEN_8086&DEV_1237"}, {}, PciDevice{"", 0x8086, 0x1237}},
        // The only ID that parses comes after one that does not.
        {{"PCI\\VEN_8086", "PCI\\VEN_8086&DEV_1237&SUBSYS_00011A2B"},
         {"PCI\\CC_06"},
         PciDevice{"", 0x8086, 0x1237, 0x1A2B, 0x0001}},
        // Not one of these is a PCI function's hardware ID, and compatible IDs are not read.
        {{"PCI\\VEN_8086&DEV_12370", "PCI\\VEN_808G&DEV_1237", "PCI\\DEV_1237&VEN_8086",
          "PCI\\VEN_8086&DEV_1237&", "PCI\\VEN_8086&DEV_1237&SUBSYS_1234",
          "PCI\\VEN_8086&DEV_1237&CC_060000", "ACPI\\VEN_8086&DEV_1237", "USB\\VID_8086&PID_1237",
          "PCIVEN_8086&DEV_1237"},
         {"PCI\\VEN_8086&DEV_1237"},
         std::nullopt},
    };
    for (const Row& row : rows) {
        const std::vector<PciDevice> found =
            PciDevicesFromIds({{.instanceId = "ROOT\\X\\0000",
                                .hardwareIds = row.hardwareIds,
                                .compatibleIds = row.compatibleIds}});
        std::vector<PciDevice> expected;
        if (row.expected) {
            expected.push_back(*row.expected);
            expected.back().address = "ROOT\\X\\0000";
        }
        EXPECT_EQ(found, expected) << row.hardwareIds.front();
    }
}

// Interfaces are counted for the devices of their vendor and product, not listed; the list is
// in the order of the instance IDs.
TEST(HardwareIdsTest, UsbDevicesCountTheirInterfaces) {
    const std::vector<PnpDeviceIds> devices = {
        {.instanceId = "USB\\VID_0957&PID_1745\\MY10",
         .hardwareIds = {"USB\\VID_0957&PID_1745&REV_0100", "USB\\VID_0957&PID_1745"},
         .busDescription = "Scope \xC2\xB5"},
        {.instanceId = "USB\\VID_0957&PID_1745&MI_00\\7&1",
         .hardwareIds = {"USB\\VID_0957&PID_1745&REV_0100&MI_00", "USB\\VID_0957&PID_1745&MI_00"}},
        {.instanceId = "USB\\VID_0957&PID_1745&MI_02\\7&1",
         .hardwareIds = {"usb\\vid_0957&pid_1745&mi_02"}},
        {.instanceId = "USB\\VID_0957&PID_1745\\MY2", .hardwareIds = {"USB\\VID_0957&PID_1745"}},
        {.instanceId = "USB\\VID_0957&PID_1745&MI_00\\7&2",
         .hardwareIds = {"USB\\VID_0957&PID_1745&MI_00"}},
        {.instanceId = "ROOT\\PNPPROBE\\0000", .hardwareIds = {"usb\\vid_1234&pid_abcd"}},
        {.instanceId = "USB\\ROOT_HUB30\\4&1",
         .hardwareIds = {"USB\\ROOT_HUB30&VID8086&PID9D2F", "USB\\ROOT_HUB30"}},
        {.instanceId = "USB\\VID_1234&PID_ABCD&MI_0\\1",
         .hardwareIds = {"USB\\VID_1234&PID_ABCD&MI_0"}},
        {.instanceId = "PCI\\VEN_8086\\3", .hardwareIds = {"PCI\\VEN_8086&DEV_1237"}},
    };
    const std::vector<UsbDevice> expected = {
        {"ROOT\\PNPPROBE\\0000", 0x1234, 0xABCD, 1},
        {"USB\\VID_0957&PID_1745\\MY2", 0x0957, 0x1745, 2},
        {"USB\\VID_0957&PID_1745\\MY10", 0x0957, 0x1745, 2, {}, "", "Scope \xC2\xB5"},
    };
    EXPECT_EQ(UsbDevicesFromIds(devices), expected);
}

}  // namespace
}  // namespace tessaly
