#include "discovery/IdDatabase.h"

#include <algorithm>
#include <fstream>
#include <utility>

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

// Which of 65536 IDs have been seen: the first line of an ID is the one that counts.
class SeenIds {
public:
    // True the first time `id` is offered.
    bool First(std::uint32_t id) {
        const bool first = !seen_[id];
        seen_[id] = true;
        return first;
    }

private:
    std::vector<bool> seen_ = std::vector<bool>(0x10000);
};

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
    // The entries the indented lines below belong to; kNone while there is none (a duplicate
    // too). (Plain values: g++ 12 reports optionals here as maybe uninitialised.)
    std::size_t openVendor = kNone;
    std::size_t openClass = kNone;
    SeenIds vendorIds;
    SeenIds classIds;
    ForEachLine(text, 0, text.size(), [&](std::string_view line, std::size_t next) {
        if (IsCommentOrBlank(line)) {
            return;
        }
        if (Indent(line) > 0) {
            if (section == Section::Vendors && openVendor != kNone) {
                vendors_[openVendor].blockEnd = next;
            } else if (section == Section::Classes && openClass != kNone) {
                classes_[openClass].blockEnd = next;
            }
            return;
        }
        openVendor = kNone;
        openClass = kNone;
        if (section == Section::Vendors) {
            if (const std::optional<IdLine> vendor = ReadIdLine(line, 4)) {
                if (vendorIds.First(vendor->id)) {
                    vendors_.push_back(
                        {static_cast<std::uint16_t>(vendor->id), vendor->name, next, next});
                    openVendor = vendors_.size() - 1;
                }
                return;
            }
        }
        if (const std::optional<std::string_view> key = SectionKey(line)) {
            section = *key == "C" ? Section::Classes : Section::Other;
            if (section == Section::Classes) {
                const std::optional<IdLine> entry = ReadIdLine(line.substr(2), 2);
                if (entry && classIds.First(entry->id)) {
                    classes_.push_back(
                        {static_cast<std::uint8_t>(entry->id), entry->name, next, next});
                    openClass = classes_.size() - 1;
                }
            }
        }
    });
    std::sort(vendors_.begin(), vendors_.end(),
              [](const Vendor& a, const Vendor& b) { return a.id < b.id; });
    std::sort(classes_.begin(), classes_.end(),
              [](const Class& a, const Class& b) { return a.id < b.id; });
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
        SeenIds deviceIds;
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
                        const std::optional<IdLine> entry = ReadIdLine(line.substr(1), 4);
                        if (entry && deviceIds.First(entry->id)) {
                            devices.push_back(
                                {static_cast<std::uint16_t>(entry->id), entry->name, next, next});
                            open = devices.size() - 1;
                        }
                    });
        std::sort(devices.begin(), devices.end(),
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
    const auto classId = static_cast<std::uint8_t>(classCode >> 16);
    const auto owner = std::lower_bound(classes_.begin(), classes_.end(), classId,
                                        [](const Class& c, std::uint8_t id) { return c.id < id; });
    if (owner == classes_.end() || owner->id != classId) {
        return std::nullopt;
    }
    constexpr std::uint32_t kSubclassLine = 0x10000;
    auto indexed = subclasses_.find(classId);
    if (indexed == subclasses_.end()) {
        // Subclass lines, each with the interface lines below it; a malformed subclass line
        // owns the interface lines below it, which then name nothing. The first line of a code
        // counts.
        std::vector<std::size_t> lines(kSubclassLine + 0x100, 0);
        std::uint32_t openSubclass = kNoClass;
        std::size_t start = owner->blockBegin;
        ForEachLine(*text_, owner->blockBegin, owner->blockEnd,
                    [&](std::string_view line, std::size_t next) {
                        const std::size_t at = std::exchange(start, next);
                        if (IsCommentOrBlank(line)) {
                            return;
                        }
                        const std::size_t indent = Indent(line);
                        const std::optional<IdLine> entry = ReadIdLine(line.substr(indent), 2);
                        std::size_t* slot = nullptr;
                        if (indent == 1) {
                            openSubclass = entry ? entry->id : kNoClass;
                            slot = entry ? &lines[kSubclassLine | entry->id] : nullptr;
                        } else if (indent == 2 && entry && openSubclass != kNoClass) {
                            slot = &lines[openSubclass << 8 | entry->id];
                        }
                        if (slot && *slot == 0) {
                            *slot = at + 1;
                        }
                    });
        indexed = subclasses_.emplace(classId, std::move(lines)).first;
    }
    const std::vector<std::size_t>& lines = indexed->second;
    for (const std::uint32_t key :
         {classCode & 0xFFFF, kSubclassLine | ((classCode >> 8) & 0xFF)}) {
        if (const std::size_t at = lines[key]; at != 0) {
            const std::string_view text = *text_;
            std::string_view line;
            ForEachLine(text, at - 1, std::min(text.find('\n', at - 1), text.size()),
                        [&line](std::string_view only, std::size_t) { line = only; });
            line.remove_prefix(Indent(line));
            return ReadIdLine(line, 2)->name;
        }
    }
    return owner->name;
}

}  // namespace tessaly
