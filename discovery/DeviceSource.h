#pragma once

#include <string>
#include <utility>
#include <vector>

#include "discovery/AttachedDevices.h"
#include "discovery/IdDatabase.h"

namespace tessaly {

// Where the attached devices and their names come from: the platform provides one, read when a
// pick button is clicked.
class DeviceSource {
public:
    virtual ~DeviceSource() = default;

    // The devices present, sorted by address (bus path for USB).
    virtual std::vector<PciDevice> PciDevices() = 0;
    virtual std::vector<UsbDevice> UsbDevices() = 0;
    // "pci.ids" or "usb.ids"; an empty database when the system has none.
    virtual IdDatabase LoadIds(const std::string& fileName) = 0;
};

// Linux's sysfs and the ID databases of the given folders.
class SysfsDeviceSource final : public DeviceSource {
public:
    explicit SysfsDeviceSource(DiscoveryFolders folders) : folders_(std::move(folders)) {}

    std::vector<PciDevice> PciDevices() override { return ListPciDevices(folders_.sysfsRoot); }
    std::vector<UsbDevice> UsbDevices() override { return ListUsbDevices(folders_.sysfsRoot); }
    IdDatabase LoadIds(const std::string& fileName) override { return folders_.LoadIds(fileName); }

private:
    DiscoveryFolders folders_;
};

}  // namespace tessaly
