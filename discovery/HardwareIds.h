#pragma once

#include <string>
#include <vector>

#include "discovery/AttachedDevices.h"

namespace tessaly {

// One present device as Windows' Plug and Play lists it.
struct PnpDeviceIds {
    std::string instanceId{};
    std::vector<std::string> hardwareIds{};
    std::vector<std::string> compatibleIds{};
    std::string busDescription{};  // what the bus reports the device as (UTF-8), or empty
};

// The PCI functions among the devices: those with a hardware ID
// "PCI\VEN_vvvv&DEV_dddd[&SUBSYS_ssssSSSS][&REV_rr]" (SUBSYS is the subsystem device ID, then
// the subsystem vendor ID); the class code comes from an ID ending in "CC_ccsspp". Addresses
// are the instance IDs; sorted as ListPciDevices sorts. IDs are read without regard to case.
std::vector<PciDevice> PciDevicesFromIds(const std::vector<PnpDeviceIds>& devices);

// The USB devices among them: hardware ID "USB\VID_vvvv&PID_pppp[&REV_rrrr]". An ID with
// "&MI_nn" is an interface of a composite device: not listed, but counted for the devices of
// that vendor and product (a device without such interfaces has one). Bus paths are the
// instance IDs, products the bus descriptions.
std::vector<UsbDevice> UsbDevicesFromIds(const std::vector<PnpDeviceIds>& devices);

}  // namespace tessaly
