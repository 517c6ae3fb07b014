#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discovery/IdDatabase.h"

namespace tessaly {

// A PCI function as sysfs shows it under bus/pci/devices/.
struct PciDevice {
    std::string address{};  // "0000:00:1f.2"
    std::uint16_t vendorId = 0;
    std::uint16_t deviceId = 0;
    std::uint16_t subsystemVendorId = 0;  // 0 when the function has none
    std::uint16_t subsystemDeviceId = 0;
    std::optional<std::uint32_t> classCode{};  // class, subclass, programming interface

    friend bool operator==(const PciDevice&, const PciDevice&) = default;
};

// A USB device as sysfs shows it under bus/usb/devices/ (interfaces left out).
struct UsbDevice {
    std::string busPath{};  // "1-1.2"; a root hub is "usb1"
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int interfaceCount = 0;  // of the active configuration; 0 when none is active
    std::optional<std::uint8_t> deviceClass{};
    std::string manufacturer{};  // the device's own strings (UTF-8 from the kernel), or empty
    std::string product{};

    friend bool operator==(const UsbDevice&, const UsbDevice&) = default;
};

// Where the devices and the ID databases are read from.
struct DiscoveryFolders {
    std::filesystem::path sysfsRoot = "/sys";
    // Searched in order for pci.ids and usb.ids: Debian's hwdata, then pciutils' and usbutils'.
    std::vector<std::filesystem::path> idFolders = {"/usr/share/hwdata", "/usr/share/misc"};

    // TESSALY_SYSFS_ROOT replaces the sysfs root, TESSALY_HWDATA_DIR the ID folders (tests, and
    // a dump of another machine). `lookup` reads a variable; null when unset.
    static DiscoveryFolders FromEnvironment(
        const std::function<const char*(const char*)>& lookup = nullptr);

    // The first file of that name in the ID folders; empty when there is none.
    IdDatabase LoadIds(const std::string& fileName) const;
};

// The devices present, sorted by address; an entry whose IDs cannot be read is left out, and a
// missing sysfs gives none. Names come from the ID databases, not from here.
std::vector<PciDevice> ListPciDevices(const std::filesystem::path& sysfsRoot);
std::vector<UsbDevice> ListUsbDevices(const std::filesystem::path& sysfsRoot);

// Host bridges and root hubs are never the instrument: listed only when all devices are asked for.
bool IsHiddenByDefault(const PciDevice& device);
bool IsHiddenByDefault(const UsbDevice& device);

// Orders "1-2" before "1-10": runs of digits compare by their value.
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace tessaly
