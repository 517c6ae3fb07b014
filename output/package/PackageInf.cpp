#include "output/package/PackageInf.h"

#include <cstdio>
#include <utility>

#include "output/InfText.h"
#include "output/PxiInfParts.h"
#include "output/UsbInfParts.h"
#include "output/package/Der.h"

namespace tessaly {
namespace {

void AddHeader(InfText& text, std::string_view prefix) {
    text.Rule()
        .Line(";")
        .Join(";  ", prefix, ".inf: the instrument's driver package for Windows on x86, x64 and")
        .Join(";  ARM64. The catalog ", prefix, ".cat vouches for this file: a changed byte")
        .Line(";  breaks its signature.")
        .Line(";")
        .Join(";  Installation, as administrator:  pnputil /add-driver ", prefix, ".inf /install")
        .Line(";")
        .Rule()
        .Line();
}

void AddVersion(InfText& text, std::string_view className, std::string_view classGuid,
                std::string_view prefix, std::string_view driverVer) {
    text.Line("[Version]")
        .Line("Signature=\"$WINDOWS NT$\"")
        .Join("Class=", className)
        .Join("ClassGUID=", classGuid)
        .Line("Provider=%Vendor0%")
        .Join("DriverVer=", driverVer)
        .Join("CatalogFile=", prefix, ".cat")
        .Line("PnpLockdown=1")
        .Line();
}

void AddManufacturer(InfText& text, std::string_view models) {
    std::string decorations;
    for (std::string_view architecture : kPackageArchitectures) {
        decorations.append(",").append(architecture);
    }
    text.Line("[Manufacturer]").Join("%Vendor1%=", models, decorations).Line();
}

std::string PxiInf(const DeviceDescription& device, std::string_view driverVer,
                   std::vector<std::string>& hardwareIds) {
    const std::string& prefix = device.InstrumentPrefix;
    const std::string pciId = pxi_inf::PciId(device);
    // The model lines of the XP/2000 INF: description string and hardware ID.
    std::vector<std::pair<std::string, std::string>> models;
    if (!device.UsesSubsystem) {
        models = {{prefix + ".DeviceDesc", pciId},
                  {prefix + ".DeviceDescN", pciId + "&SUBSYS_00000000&REV_00"}};
    } else {
        models = {{prefix + ".DeviceDescN", pxi_inf::SubsystemPciId(device)}};
    }
    InfText text;
    AddHeader(text, prefix);
    AddVersion(text, "visaPxiDevice", "{E1590550-9B9C-11d3-A250-0040055732CC}", prefix, driverVer);
    text.Line("[ClassInstall32]")
        .Line("AddReg=AddClassToRegistry")
        .Line()
        .Line("[AddClassToRegistry]")
        .Line("HKR,,,0,%DeviceClassString%")
        .Line()
        .Line("[ControlFlags]");
    for (const auto& [description, id] : models) {
        text.Join("ExcludeFromSelect=", id);
        hardwareIds.push_back(id);
    }
    text.Line();
    AddManufacturer(text, "PCIList");
    for (std::string_view architecture : kPackageArchitectures) {
        text.Join("[PCIList.", architecture, "]");
        for (const auto& [description, id] : models) {
            text.Join("%", description, "%=", prefix, ".Cfg,", id);
        }
        text.Line();
    }
    text.Join("[", prefix, ".Cfg]")
        .Join("AddReg=", prefix, ".AddReg")
        .Line()
        .Join("[", prefix, ".Cfg.Services]")
        .Line("AddService=corbelk, 0x00000002, corbel_Service_Inst")
        .Line()
        .Join("[", prefix, ".AddReg]")
        .Line("HKR,,BridgeType,1,01,00,00,00")
        .Line("HKR,,DeviceClass,1,72,65,73,75");
    const std::string keyStart = pxi_inf::KeyStart(device);
    pxi_inf::AddInterruptValues(text, keyStart, device);
    pxi_inf::AddNameValues(text, keyStart, device);
    text.Line();
    pxi_inf::AddCorbelService(text);
    text.Line()
        .Line("[Strings]")
        .Join("Vendor0=\"", device.ManufName, "\"")
        .Join("Vendor1=\"", device.ManufName, "\"");
    for (const auto& [description, id] : models) {
        text.Join(description, "=\"", device.ModelName, "\"");
    }
    text.Line("DeviceClassString=\"ZEL-VISA PXI Devices\"")
        .Line("corbel.SvcDesc=\"Corbel Driver\"");
    return text.str();
}

std::string UsbInf(const DeviceDescription& device, std::string_view driverVer,
                   std::vector<std::string>& hardwareIds) {
    const std::vector<std::string> ids = usb_inf::HardwareIds(device);
    InfText text;
    AddHeader(text, device.InstrumentPrefix);
    AddVersion(text, "visaUsbDevice", "{A3330EDF-239D-4206-833B-1D58952613D5}",
               device.InstrumentPrefix, driverVer);
    text.Line("[ClassInstall32]")
        .Line("AddReg=AddClassToRegistry")
        .Line()
        .Line("[AddClassToRegistry]")
        .Line("HKR,,,0,%DeviceClassString%")
        .Line("HKR,,Icon,,-20")
        .Line();
    AddManufacturer(text, "USBList");
    for (std::string_view architecture : kPackageArchitectures) {
        text.Join("[USBList.", architecture, "]");
        for (const std::string& id : ids) {
            text.Join("%", id, ".DeviceDesc%=ZELVIUSBK_Device, ", id);
        }
        text.Line();
    }
    hardwareIds.insert(hardwareIds.end(), ids.begin(), ids.end());
    usb_inf::AddNtInstallSections(text);
    text.Line()
        .Line("[Strings]")
        .Join("Vendor0=\"", device.UsbManufName, "\"")
        .Join("Vendor1=\"", device.UsbManufName, "\"");
    for (const std::string& id : ids) {
        text.Join(id, ".DeviceDesc=\"", device.UsbModelName, "\"");
    }
    text.Line("DeviceClassString=\"ZEL-VISA USB Devices\"")
        .Line("ZELVIUSBK.SvcDesc=\"ZEL-VISA USB Driver\"");
    return text.str();
}

}  // namespace

std::string DriverVerValue(std::int64_t date, std::string_view driverVersion) {
    const der::CivilTime day = der::ToCivil(date);
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d,", day.month, day.day, day.year);
    return text + std::string(driverVersion);
}

bool IsValidDriverVersion(std::string_view version) {
    int parts = 0;
    while (true) {
        std::size_t digits = 0;
        unsigned long value = 0;
        while (digits < version.size() && version[digits] >= '0' && version[digits] <= '9') {
            value = value * 10 + static_cast<unsigned long>(version[digits] - '0');
            if (++digits > 5) {
                return false;
            }
        }
        if (digits == 0 || value > 65535) {
            return false;
        }
        version.remove_prefix(digits);
        if (++parts == 4) {
            return version.empty();
        }
        if (version.empty() || version.front() != '.') {
            return false;
        }
        version.remove_prefix(1);
    }
}

std::string RenderPackageInf(const DeviceDescription& device, Bus bus,
                             std::string_view driverVersion, std::int64_t date,
                             std::vector<std::string>& hardwareIds) {
    const std::string driverVer = DriverVerValue(date, driverVersion);
    return bus == Bus::Usb ? UsbInf(device, driverVer, hardwareIds)
                           : PxiInf(device, driverVer, hardwareIds);
}

}  // namespace tessaly
