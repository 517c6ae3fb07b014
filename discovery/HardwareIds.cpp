#include "discovery/HardwareIds.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>

#include "device/TextRules.h"

namespace tessaly {
namespace {

struct Field {
    std::string_view key;
    std::size_t digits;
    bool optional;
};

using Values = std::vector<std::optional<std::uint32_t>>;

// The hex values of an ID "<bus>\KEY_value&KEY_value..." whose fields are those of `pattern`,
// in its order, each with exactly its number of digits: one value per field, nullopt for an
// optional field the ID leaves out. Nullopt when the ID has another shape.
std::optional<Values> Match(std::string_view id, std::string_view bus,
                            std::initializer_list<Field> pattern) {
    std::string upper(id);
    std::transform(upper.begin(), upper.end(), upper.begin(), ToUpperAscii);
    std::string_view rest(upper);
    if (!rest.starts_with(bus) || rest.size() <= bus.size() || rest[bus.size()] != '\\') {
        return std::nullopt;
    }
    rest.remove_prefix(bus.size() + 1);
    std::vector<std::string_view> tokens;
    for (std::size_t end = 0; end != std::string_view::npos; rest.remove_prefix(end + 1)) {
        end = rest.find('&');
        tokens.push_back(rest.substr(0, end));
    }

    Values values;
    std::size_t next = 0;
    for (const Field& field : pattern) {
        const std::string_view token = next < tokens.size() ? tokens[next] : std::string_view();
        if (!token.starts_with(field.key) || token.size() <= field.key.size() ||
            token[field.key.size()] != '_') {
            if (!field.optional) {
                return std::nullopt;
            }
            values.emplace_back();
            continue;
        }
        const std::string_view digits = token.substr(field.key.size() + 1);
        std::uint32_t value = 0;
        const auto [at, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.size() != field.digits || error != std::errc() ||
            at != digits.data() + digits.size()) {
            return std::nullopt;
        }
        values.emplace_back(value);
        ++next;
    }
    if (next != tokens.size()) {
        return std::nullopt;
    }
    return values;
}

std::uint16_t Id(const std::optional<std::uint32_t>& value) {
    return static_cast<std::uint16_t>(value.value_or(0));
}

std::optional<PciDevice> PciDeviceFrom(const PnpDeviceIds& ids) {
    std::optional<PciDevice> found;
    for (const std::string& id : ids.hardwareIds) {
        const std::optional<Values> v =
            Match(id, "PCI",
                  {{"VEN", 4, false}, {"DEV", 4, false}, {"SUBSYS", 8, true}, {"REV", 2, true}});
        if (!v) {
            continue;
        }
        if (!found) {
            found = PciDevice{
                .address = ids.instanceId, .vendorId = Id((*v)[0]), .deviceId = Id((*v)[1])};
        }
        // Windows lists the ID with the subsystem first, but only that one need carry it.
        if ((*v)[2] && !found->subsystemVendorId && !found->subsystemDeviceId &&
            found->vendorId == Id((*v)[0]) && found->deviceId == Id((*v)[1])) {
            found->subsystemDeviceId = static_cast<std::uint16_t>(*(*v)[2] >> 16);
            found->subsystemVendorId = static_cast<std::uint16_t>(*(*v)[2] & 0xFFFF);
        }
    }
    if (!found) {
        return std::nullopt;
    }
    for (const auto* list : {&ids.compatibleIds, &ids.hardwareIds}) {
        for (const std::string& id : *list) {
            const std::optional<Values> v =
                Match(id, "PCI", {{"VEN", 4, true}, {"DEV", 4, true}, {"CC", 6, false}});
            if (v && !found->classCode) {
                found->classCode = (*v)[2];
            }
        }
    }
    return found;
}

}  // namespace

std::vector<PciDevice> PciDevicesFromIds(const std::vector<PnpDeviceIds>& devices) {
    std::vector<PciDevice> found;
    for (const PnpDeviceIds& ids : devices) {
        if (std::optional<PciDevice> device = PciDeviceFrom(ids)) {
            found.push_back(std::move(*device));
        }
    }
    std::sort(found.begin(), found.end(), [](const PciDevice& a, const PciDevice& b) {
        return NaturalLess(a.address, b.address);
    });
    return found;
}

std::vector<UsbDevice> UsbDevicesFromIds(const std::vector<PnpDeviceIds>& devices) {
    std::vector<UsbDevice> found;
    // Interface numbers by vendor and product: two devices of a kind share them.
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::set<std::uint32_t>> interfaces;
    for (const PnpDeviceIds& ids : devices) {
        for (const std::string& id : ids.hardwareIds) {
            const std::optional<Values> v =
                Match(id, "USB",
                      {{"VID", 4, false}, {"PID", 4, false}, {"REV", 4, true}, {"MI", 2, true}});
            if (!v) {
                continue;
            }
            if ((*v)[3]) {
                interfaces[{Id((*v)[0]), Id((*v)[1])}].insert(*(*v)[3]);
            } else {
                found.push_back({.busPath = ids.instanceId,
                                 .vendorId = Id((*v)[0]),
                                 .productId = Id((*v)[1]),
                                 .product = ids.busDescription});
            }
            break;
        }
    }
    for (UsbDevice& device : found) {
        const auto it = interfaces.find({device.vendorId, device.productId});
        device.interfaceCount = it == interfaces.end() ? 1 : static_cast<int>(it->second.size());
    }
    std::sort(found.begin(), found.end(), [](const UsbDevice& a, const UsbDevice& b) {
        return NaturalLess(a.busPath, b.busPath);
    });
    return found;
}

}  // namespace tessaly
