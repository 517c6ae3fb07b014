#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>
#include <tuple>

#include "discovery/IdDatabase.h"
#include "tests/fakes/AllocationMeter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using Name = std::optional<std::string_view>;
using Case = std::tuple<const char*, Name, Name>;  // what, found, expected

void ExpectAll(std::initializer_list<Case> cases) {
    for (const auto& [what, found, expected] : cases) {
        EXPECT_EQ(found, expected) << what;
    }
}

// Comments between lines, a malformed line's children belonging to nothing, CR LF, upper-case
// digits, a duplicate vendor, and the class section with its fallbacks.
constexpr std::string_view kPciIds =
    "# List of PCI ID's\n"
    "\n"
    "1234  Tessaly Instruments\n"
    "# a comment inside a vendor\n"
    "\t0001  TX-1 Digitizer\n"
    "\t\t1234 0100  TX-1 with 16 MB\n"
    "\t\t5678 0001  TX-1 OEM board\n"
    "\t0002  TX-2 Generator\n"
    "\t00x3  Malformed device\n"
    "\t\t1234 0003  Below a malformed device\n"
    "\t0004  \n"
    "\t0005  TX-5 Counter  \t\n"
    "\t0006 \rTX-6 after a stray CR\n"
    "10B5  PLX Technology, Inc.\r\n"
    "\t9054  PCI9054 Bridge\r\n"
    "123  Short vendor ID\n"
    "\t0001  Below a malformed vendor\n"
    "8086  Intel Corporation\n"
    "1234  Second Tessaly line\n"
    "\t0009  Device of the second line\n"
    "C 06  Bridge\n"
    "\t00  Host bridge\n"
    "\t04  PCI bridge\n"
    "\t\t01  Subtractive decode\n"
    "\tz4  Malformed subclass\n"
    "\t\t02  Below a malformed subclass\n"
    "ffff  After the class section";  // no line end

TEST(IdDatabaseTest, FindsNamesOnlyWhereTheLinesPutThem) {
    const IdDatabase ids = IdDatabase::FromText(std::string(kPciIds));
    ExpectAll({
        {"vendor", ids.VendorName(0x1234), "Tessaly Instruments"},
        {"device", ids.DeviceName(0x1234, 0x0002), "TX-2 Generator"},
        {"subsystem", ids.SubsystemName(0x1234, 0x0001, 0x5678, 0x0001), "TX-1 OEM board"},
        {"subsystem of another device", ids.SubsystemName(0x1234, 0x0002, 0x1234, 0x0100), {}},
        {"vendor known, device not", ids.DeviceName(0x1234, 0x0003), {}},
        {"below a malformed device", ids.SubsystemName(0x1234, 0x0002, 0x1234, 0x0003), {}},
        {"no name", ids.DeviceName(0x1234, 0x0004), {}},
        {"trailing blanks", ids.DeviceName(0x1234, 0x0005), "TX-5 Counter"},
        {"CR before the name", ids.DeviceName(0x1234, 0x0006), "TX-6 after a stray CR"},
        {"upper-case digits, CR LF", ids.DeviceName(0x10b5, 0x9054), "PCI9054 Bridge"},
        {"below a malformed vendor", ids.DeviceName(0x10b5, 0x0001), {}},
        {"vendor without devices", ids.DeviceName(0x8086, 0x0001), {}},
        {"the first of a duplicate vendor", ids.DeviceName(0x1234, 0x0009), {}},
        {"after the vendor list", ids.VendorName(0xffff), {}},
        {"unknown vendor", ids.VendorName(0x4321), {}},
        {"subclass", ids.ClassName(0x060000), "Host bridge"},
        {"interface", ids.ClassName(0x060401), "Subtractive decode"},
        {"unknown interface", ids.ClassName(0x060499), "PCI bridge"},
        {"unknown subclass", ids.ClassName(0x068000), "Bridge"},
        {"unknown class", ids.ClassName(0x0c0300), {}},
    });
}

// usb.ids goes on after its vendors with sections whose lines look like vendors and devices.
TEST(IdDatabaseTest, SectionsAfterTheUsbVendorsAreNotVendors) {
    const IdDatabase ids = IdDatabase::FromText(
        "1d6b  Linux Foundation\n"
        "\t0002  2.0 root hub\n"
        "\t\t00  An interface line\n"
        "C 03  Human Interface Device\n"
        "\t0001  Looks like a device\n"
        "\t01  Boot Interface Subclass\n"
        "\t\t02  Mouse\n"
        "HUT 01  Generic Desktop Controls\n"  // the other sections read alike
        "\t0005  Mouse usage\n"
        "abcd  Not a vendor\n");
    ExpectAll({
        {"vendor", ids.VendorName(0x1d6b), "Linux Foundation"},
        {"device", ids.DeviceName(0x1d6b, 0x0002), "2.0 root hub"},
        {"class section line", ids.DeviceName(0x1d6b, 0x0001), {}},
        {"usage line", ids.DeviceName(0x1d6b, 0x0005), {}},
        {"vendor-like line after the sections", ids.VendorName(0xabcd), {}},
        {"class", ids.ClassName(0x030102), "Mouse"},
    });
}

// Databases of millions of lines, most of them repeating an ID: each costs its text and an index
// bounded by the number of IDs there can be, not one entry per line.
TEST(IdDatabaseTest, MillionsOfLinesCostTheirTextAndABoundedIndex) {
    constexpr std::size_t kSize = std::size_t{8} << 20;
    const auto fill = [](std::string text, const auto& line) {
        for (unsigned i = 0; text.size() < kSize; ++i) {
            text += line(i);
        }
        return text;
    };
    const auto hex = [](unsigned value, int digits) {
        char text[16];
        std::snprintf(text, sizeof text, "%0*x", digits, value);
        return std::string(text);
    };
    const struct {
        const char* what;
        std::string text;
        std::function<Name(const IdDatabase&)> lookup;
        Name expected;
    } cases[] = {
        {"vendor lines",
         fill("", [&](unsigned i) { return hex(i % 0x10000, 4) + "  v" + hex(i, 1) + "\n"; }),
         [](const IdDatabase& ids) { return ids.VendorName(0x0005); }, "v5"},
        {"device lines of one vendor",
         fill("1234  V\n",
              [&](unsigned i) { return "\t" + hex(i % 0x10000, 4) + "  d" + hex(i, 1) + "\n"; }),
         [](const IdDatabase& ids) { return ids.DeviceName(0x1234, 0x0007); }, "d7"},
        {"interface lines of classes",
         fill("C 00  first\n",
              [&](unsigned i) {
                  return (i % 0x10000 == 0 ? "C " + hex(i >> 16, 2) + "  c\n" : "") +
                         (i % 0x100 == 0 ? "\t" + hex(i >> 8 & 0xFF, 2) + "  s\n" : "") + "\t\t" +
                         hex(i & 0xFF, 2) + "  i" + hex(i, 1) + "\n";
              }),
         [](const IdDatabase& ids) { return ids.ClassName(0x020304); }, "i20304"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = c.text;
        std::size_t peak = 0;
        {
            testing::AllocationMeter meter;
            const IdDatabase ids = IdDatabase::FromText(std::move(text));
            EXPECT_EQ(c.lookup(ids), c.expected);
            peak = meter.Peak();
        }
        // Besides the text it was given: one entry a line would take ten times as much.
        EXPECT_LE(peak, std::size_t{4} << 20);
    }
}

TEST(IdDatabaseTest, AMissingOrUnreadableFileGivesNoNames) {
    testing::TempDir dir;
    const std::string file = dir.Write("pci.ids", "1234  Tessaly Instruments\n\t0001  TX-1\n");
    EXPECT_EQ(IdDatabase::Load(file).DeviceName(0x1234, 0x0001), "TX-1");
    std::filesystem::create_directory(dir.path() / "folder.ids");
    for (const auto& path : {dir.path() / "missing.ids", dir.path() / "folder.ids"}) {
        EXPECT_EQ(IdDatabase::Load(path).VendorName(0x1234), std::nullopt) << path;
    }
}

// Copies share the text their names point into.
TEST(IdDatabaseTest, NamesOutliveTheDatabaseTheyWereCopiedFrom) {
    IdDatabase copy;
    {
        const IdDatabase ids = IdDatabase::FromText("1234  A\n\t0001  B\n");
        EXPECT_EQ(ids.DeviceName(0x1234, 0x0001), "B");  // indexes the vendor's devices
        copy = ids;
    }
    EXPECT_EQ(copy.VendorName(0x1234), "A");
    EXPECT_EQ(copy.DeviceName(0x1234, 0x0001), "B");
}

}  // namespace
}  // namespace tessaly
