#include <gtest/gtest.h>

#include <map>

#include "discovery/AttachedDevices.h"
#include "tests/fakes/FakeSysfs.h"

namespace tessaly {
namespace {

using testing::FakePciFunction;
using testing::FakeSysfs;
using testing::FakeUsbDevice;

// Entries whose IDs cannot be read are left out; missing or malformed extras read as none.
TEST(AttachedDevicesTest, ListsPciFunctionsWithReadableIds) {
    const FakeSysfs sysfs;
    sysfs.Add(FakePciFunction{.address = "0000:00:10.0",
                              .vendor = "0x1a2b",
                              .device = "0x0042",
                              .subsystemVendor = "0x1a2b",
                              .subsystemDevice = "0x0001"});
    sysfs.Add(FakePciFunction{.address = "0000:00:00.0", .classCode = "0x060000"});
    sysfs.Add(FakePciFunction{.address = "0000:00:02.0",
                              .vendor = "8086",
                              .device = "0x100E",
                              .subsystemVendor = "0x8086",
                              .subsystemDevice = std::nullopt,
                              .classCode = std::nullopt});
    sysfs.Add(FakePciFunction{
        .address = "0000:00:03.0", .subsystemVendor = "0xzz", .classCode = "0x1000000"});
    const FakePciFunction unreadable[] = {
        {.address = "0000:00:04.0", .vendor = "0xzzzz"},
        {.address = "0000:00:05.0", .device = std::nullopt},
        {.address = "0000:00:06.0", .vendor = "0x12345"},
        {.address = "0000:00:07.0", .vendor = ""},
        {.address = "0000:00:08.0", .vendor = "0x8086 0x1237"},
    };
    for (const FakePciFunction& f : unreadable) {
        sysfs.Add(f);
    }
    std::filesystem::create_directories(sysfs.root() / "devices/pci/0000:00:09.0/vendor");
    std::filesystem::create_directory_symlink("../../../devices/pci/0000:00:09.0",
                                              sysfs.root() / "bus/pci/devices/0000:00:09.0");

    // Address, IDs, subsystem IDs, class.
    const std::vector<PciDevice> expected = {
        {"0000:00:00.0", 0x8086, 0x1237, 0, 0, 0x060000},
        {"0000:00:02.0", 0x8086, 0x100e},
        {"0000:00:03.0", 0x8086, 0x1237},
        {"0000:00:10.0", 0x1a2b, 0x0042, 0x1a2b, 0x0001, 0x118000},
    };
    EXPECT_EQ(ListPciDevices(sysfs.root()), expected);
}

TEST(AttachedDevicesTest, ListsUsbDevicesButNotTheirInterfaces) {
    const FakeSysfs sysfs;
    sysfs.Add(FakeUsbDevice{.busPath = "usb1",
                            .deviceClass = "09",
                            .manufacturer = "Linux xHCI",
                            .product = "xHCI Host Controller"});
    sysfs.Add(FakeUsbDevice{.busPath = "1-10",
                            .idVendor = "0957",
                            .idProduct = "1745",
                            .numInterfaces = " 3",
                            .manufacturer = "Agilent",
                            .product = "34465A"});
    sysfs.Add(FakeUsbDevice{.busPath = "1-10:1.0", .idVendor = "ffff"});
    sysfs.Add(FakeUsbDevice{.busPath = "1-2", .numInterfaces = std::nullopt, .deviceClass = "zz"});
    sysfs.Add(FakeUsbDevice{.busPath = "1-2.1", .idProduct = std::nullopt});
    sysfs.Add(FakeUsbDevice{.busPath = "1-1.4", .numInterfaces = "256"});

    // Bus path, IDs, interfaces, class, the device's own strings.
    const std::vector<UsbDevice> expected = {
        {"1-1.4", 0x1d6b, 0x0002, 0, 0},
        {"1-2", 0x1d6b, 0x0002},
        {"1-10", 0x0957, 0x1745, 3, 0, "Agilent", "34465A"},
        {"usb1", 0x1d6b, 0x0002, 1, 9, "Linux xHCI", "xHCI Host Controller"},
    };
    EXPECT_EQ(ListUsbDevices(sysfs.root()), expected);
}

// A container may have no sysfs, or one without PCI or USB.
TEST(AttachedDevicesTest, AMissingSysfsListsNothing) {
    const FakeSysfs sysfs;
    std::filesystem::create_directories(sysfs.root() / "bus/pci");
    for (const auto& root : {sysfs.root(), sysfs.root() / "missing"}) {
        EXPECT_TRUE(ListPciDevices(root).empty());
        EXPECT_TRUE(ListUsbDevices(root).empty());
    }
}

TEST(AttachedDevicesTest, OnlyHostBridgesAndRootHubsAreHidden) {
    const std::pair<std::optional<std::uint32_t>, bool> pci[] = {
        {0x060000, true}, {0x060001, true}, {0x060400, false}, {0x020000, false}, {{}, false}};
    for (const auto& [classCode, hidden] : pci) {
        EXPECT_EQ(IsHiddenByDefault(PciDevice{.classCode = classCode}), hidden)
            << classCode.value_or(0);
    }
    const std::tuple<const char*, std::optional<std::uint8_t>, bool> usb[] = {
        {"usb1", 9, true}, {"usb2", 0, false}, {"1-1", 9, false}, {"usb3", {}, false}};
    for (const auto& [path, deviceClass, hidden] : usb) {
        EXPECT_EQ(IsHiddenByDefault(UsbDevice{.busPath = path, .deviceClass = deviceClass}), hidden)
            << path;
    }
}

TEST(AttachedDevicesTest, EnvironmentReplacesTheFolders) {
    const std::map<std::string, std::string> set = {{"TESSALY_SYSFS_ROOT", "/dump/sys"},
                                                    {"TESSALY_HWDATA_DIR", "/dump/ids"}};
    const auto from = [](const std::map<std::string, std::string>& variables) {
        return DiscoveryFolders::FromEnvironment([&variables](const char* name) -> const char* {
            const auto found = variables.find(name);
            return found == variables.end() ? nullptr : found->second.c_str();
        });
    };
    const DiscoveryFolders replaced = from(set);
    EXPECT_EQ(replaced.sysfsRoot, "/dump/sys");
    EXPECT_EQ(replaced.idFolders, std::vector<std::filesystem::path>{"/dump/ids"});
    for (const auto& unset : {std::map<std::string, std::string>{},
                              {{"TESSALY_SYSFS_ROOT", ""}, {"TESSALY_HWDATA_DIR", ""}}}) {
        const DiscoveryFolders folders = from(unset);
        EXPECT_EQ(folders.sysfsRoot, "/sys");
        EXPECT_EQ(folders.idFolders.front(), "/usr/share/hwdata");
    }
}

TEST(AttachedDevicesTest, IdsComeFromTheFirstFolderHoldingTheFile) {
    const FakeSysfs first;
    const FakeSysfs second;
    second.WriteIds("pci.ids", "1234  Second\n");
    second.WriteIds("usb.ids", "1234  Second\n");
    first.WriteIds("usb.ids", "1234  First\n");
    const DiscoveryFolders folders{.idFolders = {first.idFolder(), second.idFolder()}};
    EXPECT_EQ(folders.LoadIds("pci.ids").VendorName(0x1234), "Second");
    EXPECT_EQ(folders.LoadIds("usb.ids").VendorName(0x1234), "First");
    EXPECT_EQ(folders.LoadIds("none.ids").VendorName(0x1234), std::nullopt);
}

TEST(AttachedDevicesTest, BusPathsSortByTheirNumbers) {
    std::vector<std::string> paths = {"usb1", "1-10", "1-2", "usb10", "1-1.2", "usb2", "1-1"};
    std::sort(paths.begin(), paths.end(), NaturalLess);
    EXPECT_EQ(paths,
              (std::vector<std::string>{"1-1", "1-1.2", "1-2", "1-10", "usb1", "usb2", "usb10"}));
}

}  // namespace
}  // namespace tessaly
