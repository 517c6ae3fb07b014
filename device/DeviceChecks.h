#pragma once

#include <optional>
#include <string_view>

#include "device/DeviceDescription.h"

namespace tessaly {

// The checks made when Next is pressed on a device page. Each returns the message of the first
// failing check, or nullopt when the page may be left.
std::optional<std::string_view> CheckPxiPage(const DeviceDescription& device);

// Also stores the interface count it reads (even out of range) when the device is compound.
std::optional<std::string_view> CheckUsbPage(DeviceDescription& device);

}  // namespace tessaly
