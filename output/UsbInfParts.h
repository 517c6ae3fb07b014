#pragma once

#include <string>
#include <vector>

#include "device/DeviceDescription.h"
#include "output/InfText.h"

namespace tessaly {

// What the USB INF files (the WDM INF and the driver package's) share.
namespace usb_inf {

// One ID for a simple device, "USB\VID_{Ven}&PID_{Prod}"; one per interface, "&MI_nn" added, for
// a compound device.
std::vector<std::string> HardwareIds(const DeviceDescription& device);

// The NT install sections, from "[ZELVIUSBK_Device.NT]" to the registry values of
// "[ZELVIUSBK.AddReg]": the service and what it is given.
void AddNtInstallSections(InfText& text);

}  // namespace usb_inf
}  // namespace tessaly
