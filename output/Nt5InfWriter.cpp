#include "output/InfText.h"
#include "output/InfWriters.h"
#include "output/PxiInfParts.h"

namespace tessaly {
namespace {

constexpr std::string_view kSaveFailed = "Unable to save Windows XP/2000 Setup Information File";

}  // namespace

std::string RenderNt5Inf(const DeviceDescription& device, std::vector<std::string>& hardwareIds) {
    const std::string& prefix = device.InstrumentPrefix;
    const std::string pciId = pxi_inf::PciId(device);
    const std::string noSubsystemId = pciId + "&SUBSYS_00000000&REV_00";
    const std::string subsystemId = pxi_inf::SubsystemPciId(device);
    const std::string keyStart = pxi_inf::KeyStart(device);

    InfText text;
    text.Rule()
        .Line(";")
        .Line(";  This Windows XP/2000 Setup Information File contains the information ZEL-VISA")
        .Line(";  needs in order to access your instrument.  Do not modify the contents of")
        .Line(";  this file unless you are sure about what you are doing.")
        .Line(";")
        .Rule()
        .Line(";")
        .Line(";  Installation:")
        .Line(";  To apply the contents of this file to a system's settings, copy this file")
        .Line(";  to %SystemRoot%\\inf and reboot the computer.  If the device was")
        .Line(";  installed before this file is copied, the device will need to be removed from")
        .Line(";  the \"Unknown Devices\" class in the Windows Device Manager.")
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
        .Line("Signature=$WINDOWS NT$")
        .Line("Class=visaPxiDevice")
        .Line("ClassGUID={E1590550-9B9C-11d3-A250-0040055732CC}")
        .Line("ClassName=\"visaPxiDevice\"")
        .Line("Provider=%Vendor0%")
        .Line()
        .Rule()
        .Line(";   Default Installer")
        .Rule()
        .Line()
        .Line("[DefaultInstall]")
        .Join("CopyFiles=", prefix, ".Cfg.CopyFiles.Inf")
        .Line()
        .Line("[DestinationDirs]")
        .Join(prefix, ".Cfg.CopyFiles.Inf = 17")
        .Line()
        .Join("[", prefix, ".Cfg.CopyFiles.Inf]")
        .Join(prefix, "_NT5.inf")
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
        .Line()
        .Rule()
        .Line()
        .Line("[ControlFlags]");
    // Each identifier is recorded as its line is written, so the list keeps the file's order.
    if (!device.UsesSubsystem) {
        text.Join("ExcludeFromSelect=", pciId);
        hardwareIds.push_back(pciId);
        text.Join("ExcludeFromSelect=", noSubsystemId);
        hardwareIds.push_back(noSubsystemId);
    } else {
        text.Join("ExcludeFromSelect=", subsystemId);
        hardwareIds.push_back(subsystemId);
    }
    text.Line()
        .Rule()
        .Line()
        .Line("[Manufacturer]")
        .Line("%Vendor1%=PCIList")
        .Line()
        .Rule()
        .Line(";   PCI Plug and Play Devices")
        .Rule()
        .Line()
        .Line("[PCIList]");
    if (!device.UsesSubsystem) {
        text.Join("%", prefix, ".DeviceDesc%=", prefix, ".Cfg,", pciId);
        text.Join("%", prefix, ".DeviceDescN%=", prefix, ".Cfg,", noSubsystemId);
    } else {
        text.Join("%", prefix, ".DeviceDescN%=", prefix, ".Cfg,", subsystemId);
    }
    text.Line()
        .Rule()
        .Line()
        .Join("[", prefix, ".Cfg]")
        .Join("AddReg=", prefix, ".AddReg")
        .Line()
        .Join("[", prefix, ".Cfg.Services]")
        .Line("AddService=corbelk, 0x00000002, corbel_Service_Inst")
        .Line()
        .Join("[", prefix, ".AddReg]")
        .Line("HKR,,BridgeType,1,01,00,00,00")
        .Line("HKR,,DeviceClass,1,72,65,73,75");
    pxi_inf::AddInterruptValues(text, keyStart, device);
    pxi_inf::AddNameValues(text, keyStart, device);
    text.Rule().Line();
    pxi_inf::AddCorbelService(text);
    text.Rule()
        .Line()
        .Line("[Strings]")
        .Join("Vendor0=\"", device.ManufName, "\"")
        .Join("Vendor1=\"", device.ManufName, "\"")
        .Join(prefix, ".DeviceDesc=\"", device.ModelName, "\"")
        .Join(prefix, ".DeviceDescN=\"", device.ModelName, "\"")
        .Line("DeviceClassString=\"ZEL-VISA PXI Devices\"")
        .Line("corbel.SvcDesc=\"Corbel Driver\"");
    return text.str();
}

bool WriteNt5Inf(const DeviceDescription& device, OutputPlan& plan, FileSystem& files,
                 Prompter& prompter) {
    std::vector<std::string> ids;
    const std::string bytes = RenderNt5Inf(device, ids);
    return SaveNamingHardwareIds(plan.Files.Nt5Inf, bytes, ids, kSaveFailed, plan.HardwareIds,
                                 files, prompter);
}

}  // namespace tessaly
