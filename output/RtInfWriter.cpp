#include <string>

#include "output/InfText.h"
#include "output/InfWriters.h"
#include "output/PxiInfParts.h"

namespace tessaly {
namespace {

constexpr std::string_view kSaveFailed = "Unable to save Vantorix RT Setup Information File";

// {PN}: the bytes of the number formed by the first three digits of {Dev}, low byte first.
std::string ProductNumber(std::string_view dev) {
    std::string digits(dev);
    // A shorter text names an ID's low digits, so it is padded with "0" on the left to four.
    if (digits.size() < 3) {
        digits.insert(0, 4 - digits.size(), '0');
    }
    return {digits[1], digits[2], ',', '0', digits[0]};
}

}  // namespace

std::string RenderRtInf(const DeviceDescription& device) {
    const std::string& prefix = device.InstrumentPrefix;
    const pxi_inf::IdDigitTexts ids = pxi_inf::DigitsOf(device);
    // The target selects the device by vendor and device ID alone, but lists it by its full ID.
    const std::string pciId = pxi_inf::PciId(device);
    const std::string devId = pxi_inf::DevicePciId(device);
    const std::string keyStart = pxi_inf::KeyStart(device);

    InfText text;
    text.Rule()
        .Line(";")
        .Line(";  This Vantorix RT Setup Information File contains the information ZEL-VISA")
        .Line(";  needs in order to access your instrument.  Do not modify the contents of")
        .Line(";  this file unless you are sure about what you are doing.")
        .Line(";")
        .Line(";  To apply the contents of this file to a system's settings, ftp this file")
        .Line(";  to /zel-rt/system/ and reboot the computer.  ")
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
        .Join("ExcludeFromSelect=", pciId)
        .Line()
        .Rule()
        .Line()
        .Line("[Manufacturer]")
        .Line("%ProviderString1%=PCIList")
        .Line()
        .Rule()
        .Line()
        .Line("[PCIList]")
        .Join("%", prefix, "_0.DeviceDesc%=", prefix, "_0.Config,", pciId)
        .Rule()
        .Line()
        .Join("[", prefix, "_0.Config]")
        .Join("AddReg=AddToRegistry_", prefix, "_0")
        .Line()
        .Line("[AddClassToRegistry]")
        .Line("HKR,,,0,%DeviceClassString%")
        .Line()
        .Rule()
        .Line()
        .Join("[AddToRegistry_", prefix, "_0]")
        .Join("HKR,,ProductNumber,1,", ProductNumber(ids.Dev))
        .Line("HKR,,BridgeType,1,01,00,00,00")
        .Line("HKR,,DeviceClass,1,72,65,73,75")
        .Line("HKR,,DAR,1,00,00")
        .Line("HKR,,DMA,1,00,00")
        .Line("HKR,,ELC,1,00,00");
    pxi_inf::AddInterruptValues(text, keyStart, device);
    text.Line().Rule().Line();
    pxi_inf::AddLegacyStrings(text, device);
    text.Line();
    if (device.GeneratesInterrupts) {
        text.Rule()
            .Line()
            .Line("[VISA-INTERRUPTS]")
            .Join("Vendor=\"", ids.Ven, "\"")
            .Join("Device=\"", ids.Dev, "\"");
        if (device.UsesSubsystem) {
            text.Join("SubVendor=\"", ids.SubVen, "\"").Join("SubDevice=\"", ids.SubDev, "\"");
        }
        text.Join("HowToSquelch=\"", device.RemovalSteps, "\"");
        std::size_t count = 0;
        for (const DetectSequence& sequence : device.DetectSequences) {
            text.Join("IsThisMine", std::to_string(count), "=\"", sequence.Steps, "\"");
            ++count;
        }
        text.Join("numIsThisMineEntries=", std::to_string(count)).Line();
    }
    text.Rule()
        .Line()
        .Line("[DeviceList]")
        .Line("NumOfDevices=1")
        .Join("Device0=\"", devId, "\"")
        .Line()
        .Join("[", devId, "]")
        .Join("ModelName=\"", device.ModelName, "\"")
        .Line();
    return text.str();
}

bool WriteRtInf(const DeviceDescription& device, const OutputPlan& plan, FileSystem& files,
                Prompter& prompter) {
    return SaveGeneratedFile(plan.Files.RtInf, RenderRtInf(device), kSaveFailed, files, prompter);
}

}  // namespace tessaly
