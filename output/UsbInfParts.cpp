#include "output/UsbInfParts.h"

#include <cstdio>

#include "device/IdText.h"

namespace tessaly::usb_inf {

std::vector<std::string> HardwareIds(const DeviceDescription& device) {
    std::string base = "USB\\VID_";
    base.append(IdDigits(device.UsbVendorId)).append("&PID_").append(IdDigits(device.UsbProductId));
    if (!device.IsCompoundDevice) {
        return {base};
    }
    std::vector<std::string> ids;
    for (int i = 0; i < device.InterfaceCount; ++i) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "&MI_%02d", i);
        ids.push_back(base + suffix);
    }
    return ids;
}

void AddNtInstallSections(InfText& text) {
    text.Line("[ZELVIUSBK_Device.NT]")
        .Line("AddReg=ZELVIUSBK.AddReg")
        .Line()
        .Line("[ZELVIUSBK_Device.NT.Services]")
        .Line("Addservice = ZELVIUSBK, 0x00000002, ZELVIUSBK.AddService")
        .Line()
        .Line("[ZELVIUSBK.AddService]")
        .Line("DisplayName    = %ZELVIUSBK.SvcDesc%")
        .Line("ServiceType    = 1                  ; SERVICE_KERNEL_DRIVER")
        .Line("StartType      = 2                  ; SERVICE_AUTO_START")
        .Line("ErrorControl   = 1                  ; SERVICE_ERROR_NORMAL")
        .Line("ServiceBinary  = %10%\\System32\\Drivers\\ZELVIUSBK.sys")
        .Line("LoadOrderGroup = Base")
        .Line()
        .Line("[ZELVIUSBK.AddReg]")
        .Line("HKR,,DevLoader,,*ntkern")
        .Line("HKR,,NTMPDriver,,ZELVIUSBK.sys");
}

}  // namespace tessaly::usb_inf
