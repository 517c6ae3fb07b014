#pragma once

#include <string>
#include <vector>

#include "discovery/DeviceSource.h"

namespace tessaly {

// The present devices of every class as SetupAPI lists them, told apart by their hardware IDs
// (discovery/HardwareIds.h), so root-enumerated devices count too. Windows has no pci.ids or
// usb.ids: the ID databases come from TESSALY_HWDATA_DIR, read at construction, else are
// empty and the names stay as typed.
class Win32DeviceSource final : public DeviceSource {
public:
    Win32DeviceSource();

    std::vector<PciDevice> PciDevices() override;
    std::vector<UsbDevice> UsbDevices() override;
    IdDatabase LoadIds(const std::string& fileName) override { return ids_.LoadIds(fileName); }

private:
    DiscoveryFolders ids_;
};

}  // namespace tessaly
