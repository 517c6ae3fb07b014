#include "device/DeviceChecks.h"

#include "device/IdText.h"
#include "resources/StringTable.h"

namespace tessaly {

std::optional<std::string_view> CheckPxiPage(const DeviceDescription& device) {
    if (IsZeroIdText(device.ManufCode)) {
        return strings::kManufacturerIdZero;
    }
    if (device.UsesSubsystem && IsZeroIdText(device.SubsystemManufCode)) {
        return strings::kSubsystemManufacturerIdZero;
    }
    return std::nullopt;
}

std::optional<std::string_view> CheckUsbPage(DeviceDescription& device) {
    if (IsZeroIdText(device.UsbVendorId)) {
        return strings::kManufacturerIdZero;
    }
    if (device.IsCompoundDevice) {
        const std::optional<int> count = ScanDecimalInt(device.InterfaceCountText);
        if (count) {
            device.InterfaceCount = *count;
        }
        if (!count || *count < 2 || *count > 99) {
            return strings::kInterfaceCountInvalid;
        }
    }
    return std::nullopt;
}

}  // namespace tessaly
