#pragma once

#include <string>
#include <string_view>

#include "device/DeviceDescription.h"
#include "output/InfText.h"

namespace tessaly {

// What the four PXI/PCI INF files share: the identifier forms, the Corbel Database key and the
// registry lines that carry the interrupt steps and the names.
namespace pxi_inf {

// The four-character forms of the IDs: {Ven}, {Dev}, {SubVen}, {SubDev}. They view the
// device's texts, so the device must outlive them.
struct IdDigitTexts {
    std::string_view Ven;
    std::string_view Dev;
    std::string_view SubVen;
    std::string_view SubDev;
};
IdDigitTexts DigitsOf(const DeviceDescription& device);

// "PCI\VEN_{Ven}&DEV_{Dev}", whether or not the device uses subsystem IDs.
std::string PciId(const DeviceDescription& device);

// "PCI\VEN_{Ven}&DEV_{Dev}&SUBSYS_{SubDev}{SubVen}": the subsystem device ID comes first, as
// Plug and Play orders it.
std::string SubsystemPciId(const DeviceDescription& device);

// The device's own identifier: SubsystemPciId when it uses subsystem IDs, else PciId.
std::string DevicePciId(const DeviceDescription& device);

// {Key}: "{Ven}{Dev}", followed by "{SubVen}{SubDev}" when the device uses subsystem IDs (the
// vendor first here, the reverse of the hardware identifier).
std::string DeviceKey(const DeviceDescription& device);

// {KeyStart}: HKLM,"SOFTWARE\...\ZEL-VXI\PCI\{Key}", the start of every Corbel Database line.
std::string KeyStart(const DeviceDescription& device);

// The "HowToSquelch", "IsThisMine{i}" and "numIsThisMineEntries" lines under the key.
void AddInterruptValues(InfText& text, std::string_view keyStart, const DeviceDescription& device);

// The "ManufName" and "ModelName" lines under the key.
void AddNameValues(InfText& text, std::string_view keyStart, const DeviceDescription& device);

// "[corbel_Service_Inst]": the kernel service of the XP/2000 INF and the driver package.
void AddCorbelService(InfText& text);

// The [Strings] section the Windows 9x, NT4 and real-time files have in common.
void AddLegacyStrings(InfText& text, const DeviceDescription& device);

}  // namespace pxi_inf
}  // namespace tessaly
