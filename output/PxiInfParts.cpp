#include "output/PxiInfParts.h"

#include "device/IdText.h"

namespace tessaly::pxi_inf {

IdDigitTexts DigitsOf(const DeviceDescription& device) {
    return {IdDigits(device.ManufCode), IdDigits(device.ModelCode),
            IdDigits(device.SubsystemManufCode), IdDigits(device.SubsystemModelCode)};
}

std::string PciId(const DeviceDescription& device) {
    const IdDigitTexts ids = DigitsOf(device);
    std::string id = "PCI\\VEN_";
    id.append(ids.Ven).append("&DEV_").append(ids.Dev);
    return id;
}

std::string SubsystemPciId(const DeviceDescription& device) {
    const IdDigitTexts ids = DigitsOf(device);
    std::string id = PciId(device);
    id.append("&SUBSYS_").append(ids.SubDev).append(ids.SubVen);
    return id;
}

std::string DevicePciId(const DeviceDescription& device) {
    return device.UsesSubsystem ? SubsystemPciId(device) : PciId(device);
}

std::string DeviceKey(const DeviceDescription& device) {
    const IdDigitTexts ids = DigitsOf(device);
    std::string key;
    key.append(ids.Ven).append(ids.Dev);
    if (device.UsesSubsystem) {
        key.append(ids.SubVen).append(ids.SubDev);
    }
    return key;
}

std::string KeyStart(const DeviceDescription& device) {
    return "HKLM,\"SOFTWARE\\Quorvane\\Common\\Corbel Database\\ZEL-VXI\\PCI\\" +
           DeviceKey(device) + "\",";
}

void AddInterruptValues(InfText& text, std::string_view keyStart, const DeviceDescription& device) {
    text.Join(keyStart, "\"HowToSquelch\",0,\"", device.RemovalSteps, "\"");
    std::size_t count = 0;
    for (const DetectSequence& sequence : device.DetectSequences) {
        text.Join(keyStart, "\"IsThisMine", std::to_string(count), "\",0,\"", sequence.Steps, "\"");
        ++count;
    }
    text.Join(keyStart, "\"numIsThisMineEntries\",0x00010001,", std::to_string(count));
}

void AddNameValues(InfText& text, std::string_view keyStart, const DeviceDescription& device) {
    text.Join(keyStart, "\"ManufName\",0,\"", device.ManufName, "\"");
    text.Join(keyStart, "\"ModelName\",0,\"", device.ModelName, "\"");
}

void AddCorbelService(InfText& text) {
    text.Line("[corbel_Service_Inst]")
        .Line("DisplayName   = %corbel.SvcDesc%")
        .Line("ServiceType   = 1         ;SERVICE_KERNEL_DRIVER")
        .Line("StartType     = 0         ;SERVICE_BOOT_START")
        .Line("ErrorControl  = 1         ;SERVICE_ERROR_NORMAL")
        .Line("ServiceBinary = %12%\\corbelk.sys");
}

void AddLegacyStrings(InfText& text, const DeviceDescription& device) {
    const std::string& prefix = device.InstrumentPrefix;
    text.Line("[Strings]")
        .Join("ProviderString0=\"", device.ManufName, "\"")
        .Join("ProviderString1=\"", device.ManufName, "\"")
        .Line("DriverNameString=\"visa32.dll\"")
        .Join("DriverDescString=\"", prefix, " Instrument Driver\"")
        .Line("DeviceClassString=\"ZEL-VISA PXI Devices\"")
        .Join(prefix, "_0.DeviceDesc=\"", device.ModelName, "\"");
}

}  // namespace tessaly::pxi_inf
