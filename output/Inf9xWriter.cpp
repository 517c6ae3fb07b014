#include "output/InfText.h"
#include "output/InfWriters.h"
#include "output/PxiInfParts.h"

namespace tessaly {
namespace {

constexpr std::string_view kSaveFailed = "Unable to save Windows 9x Setup Information File";

}  // namespace

std::string Render9xInf(const DeviceDescription& device) {
    const std::string& prefix = device.InstrumentPrefix;
    // Windows 9x matches one identifier only, with the subsystem part when there is one.
    const std::string hardwareId = pxi_inf::DevicePciId(device);
    const std::string keyStart = pxi_inf::KeyStart(device);

    InfText text;
    text.Rule()
        .Line(";")
        .Line(";  This Windows 98/Me Setup Information File contains the information ZEL-VISA")
        .Line(";  needs in order to access your instrument.  Do not modify the contents of")
        .Line(";  this file unless you are sure about what you are doing.")
        .Line(";")
        .Line(";  To apply the contents of this file to a system's settings, copy this file")
        .Line(";  to %SystemRoot%\\inf and reboot the computer.  If the device was")
        .Line(";  installed before this file is copied, the device will need to be removed from")
        .Line(";  the \"Unknown Devices\" class in the Windows Device Manager")
        .Line(";")
        .Rule()
        .Line(";  NOTE: ZEL-VISA 3.1 and higher no longer supports Windows 98 or Windows Me.")
        .Line(";  This file will still work with ZEL-VISA 3.0.x on those operating systems.")
        .Rule()
        .Line()
        .Line("[Version]")
        .Line("Signature=$CHICAGO$")
        .Line("Class=ZELVISAPXI")
        .Line("Provider=%ProviderString0%")
        .Line()
        .Rule()
        .Line()
        .Line("[ClassInstall]")
        .Line("AddReg=AddClassToRegistry")
        .Line()
        .Rule()
        .Line()
        .Line("[ControlFlags]")
        .Join("ExcludeFromSelect=", hardwareId)
        .Line()
        .Rule()
        .Line()
        .Line("[Manufacturer]")
        .Line("%ProviderString1%=PCIList")
        .Line()
        .Rule()
        .Line()
        .Line("[PCIList]")
        .Join("%", prefix, "_0.DeviceDesc%=", prefix, "_0.Config,", hardwareId)
        .Rule()
        .Line()
        .Join("[", prefix, "_0.Config]")
        .Join("AddReg=AddToRegistry_", prefix, "_0,AddToRegistry_Common")
        .Line()
        .Line("[AddClassToRegistry]")
        .Line("HKR,,,0,%DeviceClassString%")
        .Line()
        .Rule()
        .Line()
        .Line("[AddToRegistry_Common]")
        .Line("HKR,,DevLoader,0,corbelkd.vxd")
        .Line("HKR,,Driver,0,%DriverNameString%")
        .Line("HKR,,Description,0,%DriverDescString%")
        .Line()
        .Join("[AddToRegistry_", prefix, "_0]")
        .Line("HKR,,BridgeType,1,01,00,00,00")
        .Line("HKR,,DeviceClass,1,72,65,73,75");
    pxi_inf::AddInterruptValues(text, keyStart, device);
    pxi_inf::AddNameValues(text, keyStart, device);
    text.Line().Rule().Line();
    pxi_inf::AddLegacyStrings(text, device);
    return text.str();
}

bool Write9xInf(const DeviceDescription& device, const OutputPlan& plan, FileSystem& files,
                Prompter& prompter) {
    return SaveGeneratedFile(plan.Files.Inf9x, Render9xInf(device), kSaveFailed, files, prompter);
}

}  // namespace tessaly
