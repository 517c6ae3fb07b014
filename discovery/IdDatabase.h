#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaly {

// A PCI or USB ID database in the text form of pci.ids and usb.ids: vendor lines "vvvv  name",
// device lines "\tdddd  name" below them, subsystem lines "\t\tssss tttt  name" below a device;
// '#' starts a comment. The vendor list ends at the first section line ("C 00  name",
// "AT 0000  name", ...); the "C" section names device classes ("C cc  name", "\tss  name",
// "\t\tpp  name"). A line that fits none of these is skipped, and the lines indented below it
// belong to nothing.
//
// Reading indexes the vendors and classes, the first line of each ID (a later one and the lines
// below it count for nothing); a vendor's devices and a class's subclasses are indexed on the
// first lookup that needs them, the first of each ID again. Opening the full pci.ids costs one
// pass over its lines, and no file costs more than its text and a bounded index: there are at
// most 65536 vendors, and as many devices in a vendor. Names are the file's bytes (UTF-8 in the
// files Debian ships). Not for use from several threads at once.
class IdDatabase {
public:
    // An empty database: every lookup finds nothing.
    IdDatabase();

    static IdDatabase FromText(std::string text);
    // A missing, unreadable or oversized file gives an empty database.
    static IdDatabase Load(const std::filesystem::path& path);

    std::size_t VendorCount() const { return vendors_.size(); }

    std::optional<std::string_view> VendorName(std::uint16_t vendor) const;
    std::optional<std::string_view> DeviceName(std::uint16_t vendor, std::uint16_t device) const;
    std::optional<std::string_view> SubsystemName(std::uint16_t vendor, std::uint16_t device,
                                                  std::uint16_t subVendor,
                                                  std::uint16_t subDevice) const;
    // The most specific name the "C" section has for a class code (class, subclass and
    // programming interface, one byte each from the high end).
    std::optional<std::string_view> ClassName(std::uint32_t classCode) const;

private:
    struct Vendor {
        std::uint16_t id;
        std::string_view name;
        std::size_t blockBegin;  // the lines indented below the vendor line
        std::size_t blockEnd;
    };
    struct Device {
        std::uint16_t id;
        std::string_view name;
        std::size_t blockBegin;  // its subsystem lines
        std::size_t blockEnd;
    };
    struct Class {
        std::uint8_t id;
        std::string_view name;
        std::size_t blockBegin;  // its subclass and interface lines
        std::size_t blockEnd;
    };

    void Index();
    const Vendor* FindVendor(std::uint16_t vendor) const;
    const Device* FindDevice(std::uint16_t vendor, std::uint16_t device) const;

    std::shared_ptr<const std::string> text_;
    std::vector<Vendor> vendors_;  // sorted by id, one per id
    std::vector<Class> classes_;   // sorted by id, one per id
    mutable std::unordered_map<std::uint16_t, std::vector<Device>> devices_;
    // Where the subclass and interface lines of a class start in the text, plus one (0: no
    // line), at subclass << 8 | interface, and at 0x10000 | subclass for a subclass's own line.
    mutable std::unordered_map<std::uint8_t, std::vector<std::size_t>> subclasses_;
};

}  // namespace tessaly
