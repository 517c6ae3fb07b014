#include "discovery/IdDatabase.h"

#include <algorithm>
#include <fstream>

#include "device/TextRules.h"

namespace tessaly {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::uint32_t kNoClass = 0xFFFFFFFFu;

// The full pci.ids is under 2 MB; anything far larger is not an ID database.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Exactly `digits` hexadecimal digits at the start of `text`.
std::optional<std::uint32_t> ReadHex(std::string_view text, std::size_t digits) {
    if (text.size() < digits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

struct IdLine {
    std::uint32_t id;
    std::string_view name;
};

// "<id>  <name>": an ID of exactly `digits` hexadecimal digits, blanks, a name that is not empty.
std::optional<IdLine> ReadIdLine(std::string_view line, std::size_t digits) {
    const std::optional<std::uint32_t> id = ReadHex(line, digits);
    if (!id || line.size() <= digits || !IsBlank(line[digits])) {
        return std::nullopt;
    }
    std::string_view name = line.substr(digits);
    while (!name.empty() && (IsBlank(name.front()) || name.front() == '\r')) {
        name.remove_prefix(1);
    }
    if (name.empty()) {
        return std::nullopt;
    }
    return IdLine{*id, name};
}

// A section line: upper-case letters, a space, the rest ("C 00  name", "HID 22  name").
std::optional<std::string_view> SectionKey(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] >= 'A' && line[i] <= 'Z') {
        ++i;
    }
    if (i == 0 || i == line.size() || line[i] != ' ') {
        return std::nullopt;
    }
    return line.substr(0, i);
}

bool IsCommentOrBlank(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

std::size_t Indent(std::string_view line) {
    std::size_t tabs = 0;
    while (tabs < line.size() && line[tabs] == '\t') {
        ++tabs;
    }
    return tabs;
}

// Calls visit(line, next) for each line of text[begin, end): the line without its end and
// trailing blanks, and the offset just past it.
template <typename Visit>
void ForEachLine(std::string_view text, std::size_t begin, std::size_t end, Visit visit) {
    while (begin < end) {
        std::size_t stop = text.find('\n', begin);
        if (stop == std::string_view::npos || stop > end) {
            stop = end;
        }
        std::string_view line = text.substr(begin, stop - begin);
        while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        begin = std::min(stop + 1, end);
        visit(line, begin);
    }
}

std::uint32_t ClassKey(std::uint32_t level, std::uint32_t code) {
    return level << 24 | (code & 0xFFFFFF);
}

}  // namespace

IdDatabase::IdDatabase() : text_(std::make_shared<const std::string>()) {}

IdDatabase IdDatabase::FromText(std::string text) {
    IdDatabase database;
    database.text_ = std::make_shared<const std::string>(std::move(text));
    database.Index();
    return database;
}

IdDatabase IdDatabase::Load(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return {};
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileSize) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(size)) && !in.eof()) {
        return {};
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    return FromText(std::move(text));
}

void IdDatabase::Index() {
    const std::string_view text = *text_;
    enum class Section { Vendors, Classes, Other } section = Section::Vendors;
    // The entries the indented lines below belong to; kNone while there is none. (Plain values:
    // g++ 12 reports optionals here as maybe uninitialised.)
    std::size_t openVendor = kNone;
    std::uint32_t openClass = kNoClass;     // class byte << 16
    std::uint32_t openSubclass = kNoClass;  // class and subclass bytes << 8
    ForEachLine(text, 0, text.size(), [&](std::string_view line, std::size_t next) {
        if (IsCommentOrBlank(line)) {
            return;
        }
        const std::size_t indent = Indent(line);
        if (indent > 0) {
            if (section == Section::Vendors && openVendor != kNone) {
                vendors_[openVendor].blockEnd = next;
            } else if (section == Section::Classes && openClass != kNoClass) {
                const std::optional<IdLine> entry = ReadIdLine(line.substr(indent), 2);
                if (indent == 1) {
                    openSubclass = kNoClass;
                    if (entry) {
                        openSubclass = openClass | entry->id << 8;
                        classes_.emplace(ClassKey(2, openSubclass), entry->name);
                    }
                } else if (indent == 2 && entry && openSubclass != kNoClass) {
                    classes_.emplace(ClassKey(3, openSubclass | entry->id), entry->name);
                }
            }
            return;
        }
        openVendor = kNone;
        openClass = kNoClass;
        openSubclass = kNoClass;
        if (section == Section::Vendors) {
            if (const std::optional<IdLine> vendor = ReadIdLine(line, 4)) {
                vendors_.push_back(
                    {static_cast<std::uint16_t>(vendor->id), vendor->name, next, next});
                openVendor = vendors_.size() - 1;
                return;
            }
        }
        if (const std::optional<std::string_view> key = SectionKey(line)) {
            section = *key == "C" ? Section::Classes : Section::Other;
            if (section == Section::Classes) {
                if (const std::optional<IdLine> entry = ReadIdLine(line.substr(2), 2)) {
                    openClass = entry->id << 16;
                    classes_.emplace(ClassKey(1, openClass), entry->name);
                }
            }
        }
    });
    std::stable_sort(vendors_.begin(), vendors_.end(),
                     [](const Vendor& a, const Vendor& b) { return a.id < b.id; });
}

const IdDatabase::Vendor* IdDatabase::FindVendor(std::uint16_t vendor) const {
    const auto found =
        std::lower_bound(vendors_.begin(), vendors_.end(), vendor,
                         [](const Vendor& v, std::uint16_t id) { return v.id < id; });
    return found != vendors_.end() && found->id == vendor ? &*found : nullptr;
}

const IdDatabase::Device* IdDatabase::FindDevice(std::uint16_t vendor, std::uint16_t device) const {
    auto indexed = devices_.find(vendor);
    if (indexed == devices_.end()) {
        const Vendor* owner = FindVendor(vendor);
        if (!owner) {
            return nullptr;
        }
        std::vector<Device> devices;
        std::size_t open = kNone;
        ForEachLine(*text_, owner->blockBegin, owner->blockEnd,
                    [&](std::string_view line, std::size_t next) {
                        if (IsCommentOrBlank(line)) {
                            return;
                        }
                        const std::size_t indent = Indent(line);
                        if (indent >= 2) {
                            if (open != kNone) {
                                devices[open].blockEnd = next;
                            }
                            return;
                        }
                        open = kNone;
                        if (const std::optional<IdLine> entry = ReadIdLine(line.substr(1), 4)) {
                            devices.push_back(
                                {static_cast<std::uint16_t>(entry->id), entry->name, next, next});
                            open = devices.size() - 1;
                        }
                    });
        std::stable_sort(devices.begin(), devices.end(),
                         [](const Device& a, const Device& b) { return a.id < b.id; });
        indexed = devices_.emplace(vendor, std::move(devices)).first;
    }
    const std::vector<Device>& devices = indexed->second;
    const auto found =
        std::lower_bound(devices.begin(), devices.end(), device,
                         [](const Device& d, std::uint16_t id) { return d.id < id; });
    return found != devices.end() && found->id == device ? &*found : nullptr;
}

std::optional<std::string_view> IdDatabase::VendorName(std::uint16_t vendor) const {
    if (const Vendor* found = FindVendor(vendor)) {
        return found->name;
    }
    return std::nullopt;
}

std::optional<std::string_view> IdDatabase::DeviceName(std::uint16_t vendor,
                                                       std::uint16_t device) const {
    if (const Device* found = FindDevice(vendor, device)) {
        return found->name;
    }
    return std::nullopt;
}

std::optional<std::string_view> IdDatabase::SubsystemName(std::uint16_t vendor,
                                                          std::uint16_t device,
                                                          std::uint16_t subVendor,
                                                          std::uint16_t subDevice) const {
    const Device* owner = FindDevice(vendor, device);
    if (!owner) {
        return std::nullopt;
    }
    std::optional<std::string_view> name;
    ForEachLine(*text_, owner->blockBegin, owner->blockEnd,
                [&](std::string_view line, std::size_t) {
                    if (name || Indent(line) != 2) {
                        return;
                    }
                    line.remove_prefix(2);
                    const std::optional<std::uint32_t> first = ReadHex(line, 4);
                    if (first && *first == subVendor && line.size() > 5 && IsBlank(line[4])) {
                        const std::optional<IdLine> entry = ReadIdLine(line.substr(5), 4);
                        if (entry && entry->id == subDevice) {
                            name = entry->name;
                        }
                    }
                });
    return name;
}

std::optional<std::string_view> IdDatabase::ClassName(std::uint32_t classCode) const {
    for (const std::uint32_t key : {ClassKey(3, classCode), ClassKey(2, classCode & 0xFFFF00),
                                    ClassKey(1, classCode & 0xFF0000)}) {
        if (const auto found = classes_.find(key); found != classes_.end()) {
            return found->second;
        }
    }
    return std::nullopt;
}

}  // namespace tessaly
