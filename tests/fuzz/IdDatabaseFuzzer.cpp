// Feeds arbitrary bytes to the ID database reader and checks its lookups against a plain reading
// of the same lines: every vendor before the first section line is found with the name of its
// first line, every device line directly below it with a name, and no name has blanks or line
// ends around it.
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "discovery/IdDatabase.h"

namespace {

using namespace tessaly;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Four hexadecimal digits and a blank.
std::optional<std::uint16_t> Hex4(std::string_view text) {
    if (text.size() < 5 || (text[4] != ' ' && text[4] != '\t')) {
        return std::nullopt;
    }
    std::uint16_t value = 0;
    for (const char c : text.substr(0, 4)) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
            digit = (c | 0x20) - 'a' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    return value;
}

std::string_view NameAfterId(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t\r", 4);
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

void CheckName(std::optional<std::string_view> name) {
    if (name) {
        Require(!name->empty() && name->find('\n') == std::string_view::npos);
        for (const char end : {name->front(), name->back()}) {
            Require(end != ' ' && end != '\t' && end != '\r');
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const IdDatabase ids = IdDatabase::FromText(text);

    std::map<std::uint16_t, std::string_view> vendors;  // first line of each vendor
    std::set<std::uint32_t> devices;                    // vendor << 16 | device
    std::optional<std::uint16_t> vendor;
    bool inVendors = true;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end;
        std::string_view line(text.data() + begin, end - begin);
        begin = end + 1;
        while (!line.empty() &&
               (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') {
            continue;
        }
        if (line[0] == '\t') {
            const std::string_view rest = line.substr(1);
            if (vendor && !rest.empty() && rest[0] != '\t') {
                if (const auto device = Hex4(rest); device && !NameAfterId(rest).empty()) {
                    devices.insert(std::uint32_t{*vendor} << 16 | *device);
                }
            }
            continue;
        }
        vendor.reset();
        if (inVendors) {
            if (const auto id = Hex4(line); id && !NameAfterId(line).empty()) {
                if (vendors.emplace(*id, NameAfterId(line)).second) {
                    vendor = id;
                }
                continue;
            }
        }
        const std::size_t key = line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        if (key != 0 && key != std::string_view::npos && line[key] == ' ') {
            inVendors = false;
        }
    }

    for (const auto& [id, name] : vendors) {
        Require(ids.VendorName(id) == name);
    }
    for (const std::uint32_t key : devices) {
        const std::optional<std::string_view> name =
            ids.DeviceName(static_cast<std::uint16_t>(key >> 16), static_cast<std::uint16_t>(key));
        Require(name.has_value());
        CheckName(name);
    }
    // Lookups of IDs taken from the input itself find names that are whole and trimmed.
    for (std::size_t i = 0; i + 8 <= size && i < 64; i += 8) {
        const auto word = [&](std::size_t at) {
            return static_cast<std::uint16_t>(data[i + at] << 8 | data[i + at + 1]);
        };
        CheckName(ids.VendorName(word(0)));
        CheckName(ids.DeviceName(word(0), word(2)));
        CheckName(ids.SubsystemName(word(0), word(2), word(4), word(6)));
        CheckName(ids.ClassName(std::uint32_t{word(0)} << 8 | data[i + 2]));
    }
    return 0;
}
