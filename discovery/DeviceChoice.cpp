#include "discovery/DeviceChoice.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "device/IdText.h"

namespace tessaly {
namespace {

// The code points of `text`, or nullopt when it is not well-formed UTF-8.
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t point = lead;
        char32_t least = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            point = lead & 0x07;
            least = 0x10000;
        } else if (lead >= 0xE0) {
            length = 3;
            point = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            point = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0x80) {
            return std::nullopt;
        }
        if (lead >= 0xF5 || i + length > text.size()) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            point = point << 6 | (next & 0x3F);
        }
        if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return std::nullopt;
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

std::string HexPair(std::uint16_t first, std::uint16_t second) {
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", first, second);
    return text;
}

std::string CanonicalId(std::uint16_t id) {
    return NormalizeIdText(std::to_string(id));
}

std::string Cell(std::optional<std::string_view> text) {
    return text ? CleanDeviceName(*text) : std::string();
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | point >> 6));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | point >> 12));
        out.push_back(static_cast<char>(0x80 | (point >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | point >> 18));
        out.push_back(static_cast<char>(0x80 | (point >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

// Sets `value` to the first candidate it can hold, else empties it: a name from an earlier pick
// must not stay with this device. When there were candidates and none could be held, `refused`
// gets a line naming the first one.
void TakeName(std::string& value, std::initializer_list<std::optional<std::string_view>> candidates,
              std::optional<std::string>& refused) {
    std::optional<std::string> first;
    for (const std::optional<std::string_view>& candidate : candidates) {
        // A device's string of NULs or blanks is no name.
        std::string name = candidate ? CleanDeviceName(*candidate) : std::string();
        if (name.empty()) {
            continue;
        }
        if (std::optional<std::string> latin1 = Utf8ToLatin1(name)) {
            value = std::move(*latin1);
            return;
        }
        first = first ? first : std::move(name);
    }
    value.clear();
    if (first) {
        refused = (refused ? *refused + "\n" : std::string()) + "The name \"" + *first +
                  "\" has characters the .INF files cannot hold; the field is left empty.";
    }
}

std::optional<std::string_view> NonEmpty(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::string_view>(text);
}

}  // namespace

std::string CleanDeviceName(std::string_view text) {
    std::u32string points;
    if (std::optional<std::u32string> decoded = DecodeUtf8(text)) {
        points = std::move(*decoded);
    } else {
        points.assign(text.begin(), text.end());
        for (char32_t& point : points) {
            point &= 0xFF;  // each byte is its Latin-1 character
        }
    }
    const auto isControl = [](char32_t point) {
        return point < 0x20 || (point >= 0x7F && point < 0xA0);
    };
    std::erase_if(points, isControl);
    const auto isBlank = [](char32_t point) { return point == ' ' || point == 0xA0; };
    while (!points.empty() && isBlank(points.back())) {
        points.pop_back();
    }
    const auto start = std::find_if_not(points.begin(), points.end(), isBlank);
    points.erase(points.begin(), start);
    if (points.size() > kMaxDeviceNameLength) {
        points.resize(kMaxDeviceNameLength);
        while (!points.empty() && isBlank(points.back())) {
            points.pop_back();
        }
    }
    std::string utf8;
    for (const char32_t point : points) {
        AppendUtf8(utf8, point);
    }
    return utf8;
}

std::optional<std::string> Utf8ToLatin1(std::string_view text) {
    const std::optional<std::u32string> points = DecodeUtf8(text);
    if (!points) {
        return std::string(text);
    }
    std::string bytes;
    for (const char32_t point : *points) {
        if (point > 0xFF) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(point));
    }
    return bytes;
}

std::string AsUtf8(std::string_view text) {
    if (DecodeUtf8(text)) {
        return std::string(text);
    }
    std::string utf8;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | byte >> 6));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

DeviceTable PciDeviceTable(const std::vector<PciDevice>& devices, const IdDatabase& pciIds) {
    DeviceTable table{
        .title = "Attached PCI Devices",
        .columns = {"Address", "IDs", "Subsystem", "Vendor", "Device", "Class"},
        .rows = {},
        .emptyText = "No PCI device was found on this computer.",
    };
    for (const PciDevice& d : devices) {
        std::string className;
        if (d.classCode) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%06X", static_cast<unsigned>(*d.classCode));
            className =
                pciIds.ClassName(*d.classCode) ? Cell(pciIds.ClassName(*d.classCode)) : code;
        }
        table.rows.push_back({
            .cells = {d.address, HexPair(d.vendorId, d.deviceId),
                      d.subsystemVendorId == 0 ? ""
                                               : HexPair(d.subsystemVendorId, d.subsystemDeviceId),
                      Cell(pciIds.VendorName(d.vendorId)),
                      Cell(pciIds.DeviceName(d.vendorId, d.deviceId)), className},
            .hiddenByDefault = IsHiddenByDefault(d),
        });
    }
    return table;
}

DeviceTable UsbDeviceTable(const std::vector<UsbDevice>& devices, const IdDatabase& usbIds) {
    DeviceTable table{
        .title = "Attached USB Devices",
        .columns = {"Bus path", "IDs", "Manufacturer", "Product", "Interfaces"},
        .rows = {},
        .emptyText = "No USB device was found on this computer.",
    };
    for (const UsbDevice& d : devices) {
        // The device's own strings first, unless nothing of them is text.
        std::string manufacturer = CleanDeviceName(d.manufacturer);
        std::string product = CleanDeviceName(d.product);
        if (manufacturer.empty()) {
            manufacturer = Cell(usbIds.VendorName(d.vendorId));
        }
        if (product.empty()) {
            product = Cell(usbIds.DeviceName(d.vendorId, d.productId));
        }
        table.rows.push_back({
            .cells = {d.busPath, HexPair(d.vendorId, d.productId), manufacturer, product,
                      d.interfaceCount > 0 ? std::to_string(d.interfaceCount) : std::string()},
            .hiddenByDefault = IsHiddenByDefault(d),
        });
    }
    return table;
}

std::optional<std::string> ApplyPciChoice(DeviceDescription& device, const PciDevice& chosen,
                                          const IdDatabase& pciIds) {
    device.ManufCode = CanonicalId(chosen.vendorId);
    device.ModelCode = CanonicalId(chosen.deviceId);
    device.UsesSubsystem = chosen.subsystemVendorId != 0;
    device.SubsystemManufCode = CanonicalId(chosen.subsystemVendorId);
    device.SubsystemModelCode = CanonicalId(chosen.subsystemDeviceId);
    std::optional<std::string> refused;
    TakeName(device.ManufName, {pciIds.VendorName(chosen.vendorId)}, refused);
    TakeName(device.ModelName, {pciIds.DeviceName(chosen.vendorId, chosen.deviceId)}, refused);
    return refused;
}

std::optional<std::string> ApplyUsbChoice(DeviceDescription& device, const UsbDevice& chosen,
                                          const IdDatabase& usbIds) {
    device.UsbVendorId = CanonicalId(chosen.vendorId);
    device.UsbProductId = CanonicalId(chosen.productId);
    std::optional<std::string> refused;
    TakeName(device.UsbManufName,
             {NonEmpty(chosen.manufacturer), usbIds.VendorName(chosen.vendorId)}, refused);
    TakeName(device.UsbModelName,
             {NonEmpty(chosen.product), usbIds.DeviceName(chosen.vendorId, chosen.productId)},
             refused);
    if (chosen.interfaceCount >= 2) {
        device.IsCompoundDevice = true;
        device.InterfaceCountText = std::to_string(chosen.interfaceCount);
    } else if (chosen.interfaceCount == 1) {
        device.IsCompoundDevice = false;
    }
    return refused;
}

}  // namespace tessaly
