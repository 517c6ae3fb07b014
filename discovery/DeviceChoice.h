#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceDescription.h"
#include "discovery/AttachedDevices.h"
#include "discovery/DeviceTable.h"
#include "discovery/IdDatabase.h"

namespace tessaly {

// The chooser's rows, one per device in the given order, named from the ID database.
DeviceTable PciDeviceTable(const std::vector<PciDevice>& devices, const IdDatabase& pciIds);
DeviceTable UsbDeviceTable(const std::vector<UsbDevice>& devices, const IdDatabase& usbIds);

// Sets every value of the PXI/PCI page a pick owns from the chosen function: canonical IDs, the
// subsystem IDs and check box, the vendor and device names the database has (names it has not
// are emptied). Returns a message when a name had to be left out because the .INF files cannot
// hold its characters.
std::optional<std::string> ApplyPciChoice(DeviceDescription& device, const PciDevice& chosen,
                                          const IdDatabase& pciIds);

// Sets the USB page's values: canonical IDs; the names from the device's own strings, else the
// database, else empty; with two or more interfaces the compound check box and the count, with
// one the box cleared. Returns a message as ApplyPciChoice does.
std::optional<std::string> ApplyUsbChoice(DeviceDescription& device, const UsbDevice& chosen,
                                          const IdDatabase& usbIds);

// The longest name a field takes from a device: the setup API holds a driver's description and
// manufacturer in 256 characters (LINE_LEN), terminator included.
inline constexpr std::size_t kMaxDeviceNameLength = 255;

// A name read from a device or an ID database, as the list shows it and a field takes it: UTF-8
// (text that is not UTF-8 read as Latin-1) without control characters (C0, DEL, C1) or blanks at
// either end, cut to kMaxDeviceNameLength characters. Characters beyond Latin-1 stay for
// Utf8ToLatin1 to refuse.
std::string CleanDeviceName(std::string_view text);

// UTF-8 text as the Latin-1 bytes the values hold; nullopt when a character lies beyond U+00FF.
// Text that is not UTF-8 is taken to be Latin-1 already.
std::optional<std::string> Utf8ToLatin1(std::string_view text);

// Text for display: valid UTF-8 unchanged, anything else read as Latin-1.
std::string AsUtf8(std::string_view text);

}  // namespace tessaly
