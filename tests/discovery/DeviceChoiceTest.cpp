#include <gtest/gtest.h>

#include "discovery/DeviceChoice.h"

namespace tessaly {
namespace {

const IdDatabase& Ids() {
    static const IdDatabase ids = IdDatabase::FromText(
        "1a2b  Tessaly Instruments\n"
        "\t0042  TX-4021 Digitizer\n"
        "1a2c  Caf\xc3\xa9 Instruments\n"
        "\t0001  Scope\xe2\x84\xa2 One\n"
        "1a2d  \xe9tude Latin-1 bytes\n"
        "C 06  Bridge\n"
        "\t00  Host bridge\n");
    return ids;
}

DeviceDescription Typed() {
    DeviceDescription typed;
    typed.ManufName = "Typed Maker";
    typed.ModelName = "Typed Model";
    typed.UsbManufName = "Typed Maker";
    typed.UsbModelName = "Typed Model";
    typed.SubsystemManufCode = "0x0777";
    typed.SubsystemModelCode = "0x0888";
    return typed;
}

// Built by a function, not braces: g++ 12 at -O3 then wrongly calls the address uninitialised.
PciDevice Pci(std::uint16_t vendor, std::uint16_t device, std::uint16_t subsystemVendor = 0,
              std::uint16_t subsystemDevice = 0) {
    PciDevice chosen;
    chosen.vendorId = vendor;
    chosen.deviceId = device;
    chosen.subsystemVendorId = subsystemVendor;
    chosen.subsystemDeviceId = subsystemDevice;
    return chosen;
}

struct PciCase {
    const char* what;
    PciDevice chosen;
    bool usedSubsystem;
    // ManufCode, ModelCode, UsesSubsystem, subsystem codes, names; message
    std::tuple<std::string, std::string, bool, std::string, std::string, std::string, std::string>
        expected;
    std::optional<std::string> message;
};

TEST(DeviceChoiceTest, PciChoiceFillsIdsSubsystemAndKnownNames) {
    const PciCase cases[] = {
        {"subsystem and names",
         Pci(0x1a2b, 0x42, 0x1a2b, 0xbeef),
         false,
         {"0x1A2B", "0x0042", true, "0x1A2B", "0xBEEF", "Tessaly Instruments", "TX-4021 Digitizer"},
         {}},
        {"no subsystem clears the box and takes the device's codes; unknown names are emptied",
         Pci(0xffff, 0x7, 0, 0x1),
         true,
         {"0xFFFF", "0x0007", false, "0x0000", "0x0001", "", ""},
         {}},
        {"UTF-8 within Latin-1 taken, beyond it refused",
         Pci(0x1a2c, 0x1),
         false,
         {"0x1A2C", "0x0001", false, "0x0000", "0x0000", "Caf\xe9 Instruments", ""},
         "The name \"Scope\xe2\x84\xa2 One\" has characters the .INF files cannot hold; the "
         "field is left empty."},
    };
    for (const PciCase& c : cases) {
        DeviceDescription d = Typed();
        d.UsesSubsystem = c.usedSubsystem;
        const std::optional<std::string> message = ApplyPciChoice(d, c.chosen, Ids());
        EXPECT_EQ(std::tie(d.ManufCode, d.ModelCode, d.UsesSubsystem, d.SubsystemManufCode,
                           d.SubsystemModelCode, d.ManufName, d.ModelName),
                  c.expected)
            << c.what;
        EXPECT_EQ(message, c.message) << c.what;
    }
}

// The device's own strings come first; the count only changes with what the device says.
TEST(DeviceChoiceTest, UsbChoiceFillsIdsNamesAndCompound) {
    const IdDatabase usbIds = IdDatabase::FromText(
        "0957  Agilent Technologies, Inc.\n\t1745  Test and Measurement Device (IVI)\n");
    struct Case {
        const char* what;
        UsbDevice chosen;
        std::tuple<std::string, std::string, std::string, std::string, bool, std::string> expected;
    } const cases[] = {
        {"own strings, three interfaces",
         {"", 0x957, 0x1745, 3, {}, "Keysight", "34465A"},
         {"0x0957", "0x1745", "Keysight", "34465A", true, "3"}},
        {"names from the database, one interface clears compound",
         {"", 0x957, 0x1745, 1},
         {"0x0957", "0x1745", "Agilent Technologies, Inc.", "Test and Measurement Device (IVI)",
          false, "9"}},
        {"own string beyond Latin-1 gives way to the database; not configured keeps compound",
         {"", 0x957, 0x1, 0, {}, "\xe2\x84\xa2"},
         {"0x0957", "0x0001", "Agilent Technologies, Inc.", "", true, "9"}},
    };
    for (const Case& c : cases) {
        DeviceDescription d = Typed();
        d.IsCompoundDevice = true;
        d.InterfaceCountText = "9";
        EXPECT_EQ(ApplyUsbChoice(d, c.chosen, usbIds), std::nullopt) << c.what;
        EXPECT_EQ(std::tie(d.UsbVendorId, d.UsbProductId, d.UsbManufName, d.UsbModelName,
                           d.IsCompoundDevice, d.InterfaceCountText),
                  c.expected)
            << c.what;
    }
}

// A device's own strings and the databases' names are cleaned to text a field can hold and cut
// to the length an INF reader takes; nothing is left of a string of NULs.
TEST(DeviceChoiceTest, NamesFromDevicesAndDatabasesAreCleanedAndCut) {
    const IdDatabase usbIds = IdDatabase::FromText("0957  \tAgi\x01lent\x7F\n\t1745  Meter\n");
    const std::string longName(300, 'n');
    std::string accents;  // 300 characters in 600 bytes
    for (int i = 0; i < 300; ++i) {
        accents += "\xC3\xA9";
    }
    const struct {
        const char* what;
        std::string manufacturer, product;  // the device's own strings
        std::string field, list;            // the model name the field gets, the list shows
    } cases[] = {
        {"NULs give way to the database", "", std::string(4096, '\0'), "Meter", "Meter"},
        {"control characters and DEL", "", "Te\x01st\x7F\x1B", "Test", "Test"},
        {"C1 controls and blanks", "", "\xC2\xA0 \xC2\x85Scope \xC2\x9B", "Scope", "Scope"},
        {"Latin-1 bytes", "", "\xE9\x01t\xE9", "\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
        {"cut to 255 characters", "", longName, longName.substr(0, 255), longName.substr(0, 255)},
        {"cut by characters, not bytes", "", accents, std::string(255, '\xE9'),
         accents.substr(0, 510)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const UsbDevice chosen{"1-1", 0x957, 0x1745, 1, {}, c.manufacturer, c.product};
        DeviceDescription d = Typed();
        EXPECT_EQ(ApplyUsbChoice(d, chosen, usbIds), std::nullopt);
        EXPECT_EQ(d.UsbModelName, c.field);
        EXPECT_EQ(d.UsbManufName, "Agilent");
        const DeviceTable table = UsbDeviceTable({chosen}, usbIds);
        EXPECT_EQ(table.rows.at(0).cells[3], c.list);
        EXPECT_EQ(table.rows.at(0).cells[2], "Agilent");
    }
}

TEST(DeviceChoiceTest, TablesShowIdsNamesAndWhatIsHidden) {
    const DeviceTable pci = PciDeviceTable({{"0000:00:00.0", 0x1a2b, 0x42, 0, 0, 0x060000},
                                            {"0000:00:01.0", 0x1a2d, 0x5, 0x1a2b, 0x1, 0x118000},
                                            {"0000:00:02.0", 0x9999, 0x1}},
                                           Ids());
    ASSERT_EQ(pci.rows.size(), 3u);
    EXPECT_EQ(pci.rows[0].cells,
              (std::vector<std::string>{"0000:00:00.0", "1a2b:0042", "", "Tessaly Instruments",
                                        "TX-4021 Digitizer", "Host bridge"}));
    EXPECT_EQ(pci.rows[1].cells,
              (std::vector<std::string>{"0000:00:01.0", "1a2d:0005", "1a2b:0001",
                                        "\xc3\xa9tude Latin-1 bytes", "", "0x118000"}));
    EXPECT_EQ(pci.rows[2].cells[5], "");
    EXPECT_EQ(pci.columns.size(), pci.rows[0].cells.size());
    EXPECT_TRUE(pci.rows[0].hiddenByDefault);
    EXPECT_FALSE(pci.rows[1].hiddenByDefault);

    const DeviceTable usb = UsbDeviceTable(
        {{"usb1", 0x1d6b, 0x2, 1, 9, "Linux", "xHCI"}, {"1-1", 0x1a2b, 0x42}}, Ids());
    ASSERT_EQ(usb.rows.size(), 2u);
    EXPECT_EQ(usb.rows[0].cells,
              (std::vector<std::string>{"usb1", "1d6b:0002", "Linux", "xHCI", "1"}));
    EXPECT_EQ(usb.rows[1].cells,
              (std::vector<std::string>{"1-1", "1a2b:0042", "Tessaly Instruments",
                                        "TX-4021 Digitizer", ""}));
    EXPECT_EQ(usb.columns.size(), usb.rows[0].cells.size());
    EXPECT_TRUE(usb.rows[0].hiddenByDefault);
    EXPECT_FALSE(usb.rows[1].hiddenByDefault);
}

TEST(DeviceChoiceTest, Utf8BecomesLatin1OnlyWhenItFits) {
    const std::tuple<std::string_view, std::optional<std::string>> cases[] = {
        {"\xc3\xbc\xc2\xae\xc3\x97", "\xfc\xae\xd7"},  // ü ® ×
        {"\xe2\x84\xa2", std::nullopt},                // ™
        {"\xf0\x9f\x94\x8c", std::nullopt},            // a four-byte character
        {"\xfc", "\xfc"},                              // not UTF-8: Latin-1 already
        {"\xc0\xbc", "\xc0\xbc"},                      // overlong: not UTF-8
        {"\xed\xa0\x80", "\xed\xa0\x80"},              // a surrogate: not UTF-8
        {"\xc3", "\xc3"},                              // cut short
    };
    for (const auto& [utf8, latin1] : cases) {
        EXPECT_EQ(Utf8ToLatin1(utf8), latin1) << utf8;
    }
    EXPECT_EQ(AsUtf8("\xfc\xae"), "\xc3\xbc\xc2\xae");
    EXPECT_EQ(AsUtf8("\xc3\xbc"), "\xc3\xbc");
}

}  // namespace
}  // namespace tessaly
