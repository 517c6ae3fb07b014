#include <string>
#include <vector>

#include "output/InfText.h"
#include "output/InfWriters.h"
#include "output/UsbInfParts.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"

namespace tessaly {
namespace {

constexpr const char* kWdmSaveFailed = "Unable to save Windows WDM Setup Information File";

}  // namespace

std::string RenderWdmInf(const DeviceDescription& device, std::vector<std::string>& hardwareIds) {
    const std::vector<std::string> ids = usb_inf::HardwareIds(device);
    InfText inf;
    inf.Rule()
        .Line(";")
        .Line(";  This file is for use with Windows 98SE/ME, Windows 2000, or Windows XP.")
        .Line(";  This WDM Windows Setup Information File contains the information ZEL-VISA")
        .Line(";  needs in order to access your instrument.  Do not modify the contents of")
        .Line(";  this file unless you are sure about what you are doing.")
        .Line(";")
        .Rule()
        .Line(";")
        .Line(";  Installation:")
        .Line(";  To apply the contents of this file to a system's settings, copy this file")
        .Line(";  to %SystemRoot%\\inf and reboot the computer.  If the device was")
        .Line(";  installed before this file is copied, the device will need to be removed")
        .Line(";  from the \"Unknown Devices\" class in the Windows Device Manager.")
        .Line(";")
        .Rule()
        .Line(";")
        .Line(";  Removal:")
        .Line(";  Remove this file and its associated .PNF file (if it exists) from")
        .Line(";  %SystemRoot%\\inf.  Either reboot the computer, or perform a")
        .Line(";  \"Scan for hardware changes\" from the Windows Device Manager.")
        .Line(";")
        .Rule()
        .Line()
        .Line("[Version]")
        .Line("Signature=$CHICAGO$")
        .Line("Class=visaUsbDevice")
        .Line("ClassGUID={A3330EDF-239D-4206-833B-1D58952613D5}")
        .Line("ClassName=\"visaUsbDevice\"")
        .Line("Provider=%Vendor0%")
        .Line("LayoutFile=layout.inf")
        .Line()
        .Rule()
        .Line(";   Default Installer")
        .Rule()
        .Line()
        .Line("[DefaultInstall]")
        .Line("CopyFiles=ZELVIUSBK_Device.CopyFiles.Inf")
        .Line()
        .Line("[DestinationDirs]")
        .Line("ZELVIUSBK_Device.CopyFiles.Inf = 17")
        .Line()
        .Line("[ZELVIUSBK_Device.CopyFiles.Inf]")
        .Join(device.InstrumentPrefix, "_WDM.inf")
        .Line()
        .Rule()
        .Line(";   Class Installer")
        .Rule()
        .Line()
        .Line("[ClassInstall32]")
        .Line("AddReg=AddClassToRegistry")
        .Line()
        .Line("[ClassInstall]")
        .Line("AddReg=AddClassToRegistry")
        .Line()
        .Line("[AddClassToRegistry]")
        .Line("HKR,,,0,%DeviceClassString%")
        .Line("HKR,,Icon,,-20")
        .Line()
        .Rule()
        .Line()
        .Line("[Manufacturer]")
        .Line("%Vendor1%=USBList")
        .Line()
        .Rule()
        .Line(";   USB Plug and Play Devices")
        .Rule()
        .Line()
        .Line("[USBList]");
    for (const std::string& id : ids) {
        inf.Join("%", id, ".DeviceDesc%=ZELVIUSBK_Device, ", id);
        hardwareIds.push_back(id);
    }
    inf.Line()
        .Rule()
        .Line()
        .Line("[PreCopySection]")
        .Line("HKR,,NoSetupUI,,1")
        .Line()
        .Line("[ZELVIUSBK_Device]")
        .Line("AddReg=ZELVIUSBK.AddReg")
        .Line();
    usb_inf::AddNtInstallSections(inf);
    inf.Line()
        .Rule()
        .Line()
        .Line("[Strings]")
        .Join("Vendor0=\"", device.UsbManufName, "\"")
        .Join("Vendor1=\"", device.UsbManufName, "\"");
    for (const std::string& id : ids) {
        inf.Join(id, ".DeviceDesc=\"", device.UsbModelName, "\"");
    }
    inf.Line("DeviceClassString=\"ZEL-VISA USB Devices\"")
        .Line("ZELVIUSBK.SvcDesc=\"ZEL-VISA USB Driver\"");
    return inf.str();
}

bool WriteWdmInf(const DeviceDescription& device, OutputPlan& plan, FileSystem& files,
                 Prompter& prompter) {
    std::vector<std::string> ids;
    const std::string text = RenderWdmInf(device, ids);
    return SaveNamingHardwareIds(plan.Files.WdmInf, text, ids, kWdmSaveFailed, plan.HardwareIds,
                                 files, prompter);
}

}  // namespace tessaly
