#include <gtest/gtest.h>

#include <functional>

#include "output/InfHazards.h"

namespace tessaly {
namespace {

constexpr const char* kPxiInfs = "Scope_RT.inf, Scope9_9x.inf, Scope9_NT4.inf, Scope9_NT5.inf";

DeviceDescription OrdinaryDevice() {
    DeviceDescription d;
    d.ManufCode = "0xABCD";
    d.ModelCode = "0xd000";  // lower case is read the same
    d.ManufName =
        "Acme & Co. (\xC9"
        "tudes); 50/50";
    d.ModelName = "Scope 9, 'Mk2'";  // a comma and a semicolon stand inside quotes
    d.GeneratesInterrupts = true;
    d.DetectSequences = {{0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1}};
    d.RemovalSteps = "W8 CFG 0x00000004 0x01;";
    d.InstrumentPrefix = "Scope9";
    d.UsbVendorId = "0x1234";
    d.UsbProductId = " 0x00ABCD";  // still the number its last four characters say
    return d;
}

std::vector<std::string> Described(const DeviceDescription& device, Bus bus) {
    std::vector<std::string> lines;
    for (const InfHazard& hazard : FindInfHazards(device, bus)) {
        lines.push_back(DescribeInfHazard(hazard));
    }
    return lines;
}

TEST(InfHazardsTest, EachKindNamesTheValueTheFilesAndWhatReadersDo) {
    const std::string infs = kPxiInfs;
    const std::string withIni = infs + ", Scope9.ini";
    const std::string breaks =
        ": a line break ends the line: readers take the rest of the value as a line of its own.";
    const std::string controls =
        ": a control character is no text: readers end the value at a NUL, and Windows shows the "
        "others as nothing or as boxes.";
    struct Case {
        const char* name;
        Bus bus;
        std::function<void(DeviceDescription&)> change;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"ordinary PXI", Bus::PxiPci, [](DeviceDescription&) {}, {}},
        {"ordinary USB", Bus::Usb, [](DeviceDescription&) {}, {}},
        {"quote then comma",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.DetectSequences[0].Steps = "R8 \"CFG, 4\""; },
         {"IsThisMine0 \"R8 \"CFG, 4\"\" in " + infs +
          ": a double quote ends the quoted text: readers take it as \"R8 CFG\"."}},
        {"percent",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.ManufName = "Acme %12% 100%"; },
         {"ManufName \"Acme %12% 100%\" in " + infs +
          ": readers replace %12% by the string or system folder it names."}},
        {"percent tokens",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.DetectSequences[0].Steps = "%a%%b%"; },
         {"IsThisMine0 \"%a%%b%\" in " + infs +
          ": readers replace %a%, %b% by the strings or system folders they name."}},
        {"lone percent in USB",
         Bus::Usb,
         [](DeviceDescription& d) { d.UsbModelName = "50% duty"; },
         {"UsbModelName \"50% duty\" in Scope9_WDM.inf: a percent sign starts a %token% for "
          "readers, which substitute or drop it."}},
        {"comma in the prefix",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.InstrumentPrefix = "ab,cdef"; },
         {"InstrumentPrefix \"ab,cdef\" in ab,cd_RT.inf, ab,cdef_9x.inf, ab,cdef_NT5.inf: a comma "
          "ends a field: model lines and AddReg and CopyFiles lists are cut at it, so the "
          "device's registry lines are lost."}},
        {"comma in a USB prefix",
         Bus::Usb,
         [](DeviceDescription& d) { d.InstrumentPrefix = "a,b"; },
         {"InstrumentPrefix \"a,b\" in a,b_WDM.inf: a comma ends a field: the CopyFiles list "
          "names two files, and the copy fails."}},
        {"line break and control character from an escape",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.RemovalSteps = "W8 CFG 0x04 0x01;\r\n[Evil]\x01"; },
         {"HowToSquelch \"W8 CFG 0x04 0x01;\\r\\n[Evil]\\x01\" in " + withIni + breaks,
          "HowToSquelch \"W8 CFG 0x04 0x01;\\r\\n[Evil]\\x01\" in " + withIni + controls}},
        // What a device's own strings may hold.
        {"NUL and DEL from a device",
         Bus::Usb,
         [](DeviceDescription& d) {
             d.UsbModelName = std::string("P\0", 2);
             d.UsbManufName = "\x7F";
         },
         {"UsbManufName \"\\x7F\" in Scope9_WDM.inf" + controls,
          "UsbModelName \"P\\x00\" in Scope9_WDM.inf" + controls}},
        {"tab",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.ModelName = "a\tb"; },
         {"ModelName \"a\\tb\" in " + withIni + controls}},
        // InterruptDetect0 = "<236 characters>" is 257 characters long.
        {"a line longer than the reader keeps",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.DetectSequences[0].Steps = std::string(236, 's'); },
         {"IsThisMine0 \"" + std::string(236, 's') +
          "\" in Scope9.ini: its line holds 257 characters, and this wizard reads back the first "
          "255: loading the file again cuts the value."}},
        {"a line as long as the reader keeps",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.ModelName = std::string(240, 'm'); },
         {}},
        {"an escape",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.ManufName = "C:\\new"; },
         {"ManufName \"C:\\new\" in Scope9.ini: this wizard reads a backslash in a module "
          "description file as the start of an escape (\\n, \\t, \\xHH): loading the file "
          "again changes the value."}},
        {"a module file over 4 MiB",
         Bus::PxiPci,
         [](DeviceDescription& d) {
             d.DetectSequences.assign(20000, {0, std::string(230, 's'), 1});
         },
         {"DetectSequences \"20000 sequences\" in Scope9.ini: the file holds 5129434 bytes, "
          "more than the 4 MiB this wizard loads: it refuses the file."}},
        {"an empty prefix with interrupts",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.InstrumentPrefix = ""; },
         {"InstrumentPrefix \"\" in .ini: the file's VISARegistration line is empty, which this "
          "wizard reads as no registration: loading the file again loses the interrupt steps."}},
        {"a prefix that reads as no registration",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.InstrumentPrefix = "NONE"; },
         {"InstrumentPrefix \"NONE\" in NONE.ini: this wizard reads that VISARegistration as no "
          "registration: loading the file again takes the prefix from the model name."}},
        {"line break without interrupts",
         Bus::PxiPci,
         [](DeviceDescription& d) {
             d.GeneratesInterrupts = false;
             d.RemovalSteps = "a\nb";
             d.ModelName = "c\nd";
         },
         {"ModelName \"c\\nd\" in " + withIni + breaks,
          "HowToSquelch \"a\\nb\" in " + infs + breaks}},
        {"missing vendor ID",
         Bus::PxiPci,
         [](DeviceDescription& d) { d.ManufCode = ""; },
         {"ManufCode \"\" in " + withIni +
          ": the files write \"\" where four hexadecimal digits belong (PCI\\VEN_&DEV_d000): no "
          "device matches it."}},
        {"decimal and oversized IDs, zero vendors",
         Bus::PxiPci,
         [](DeviceDescription& d) {
             d.ManufCode = "0X0000";
             d.ModelCode = "1234";
             d.UsesSubsystem = true;
             d.SubsystemManufCode = "0";
             d.SubsystemModelCode = "0x12345";
         },
         {"ManufCode \"0X0000\" in " + withIni +
              ": a vendor ID of zero (PCI\\VEN_0000&DEV_1234&SUBSYS_23450): no device matches it.",
          "ModelCode \"1234\" in " + withIni +
              ": the files write 1234 (PCI\\VEN_0000&DEV_1234&SUBSYS_23450), but the text means "
              "0x04D2: the files name another device.",
          "SubsystemManufCode \"0\" in " + withIni +
              ": the files write \"0\" where four hexadecimal digits belong "
              "(PCI\\VEN_0000&DEV_1234&SUBSYS_23450): no device matches it.",
          "SubsystemModelCode \"0x12345\" in " + withIni +
              ": the files write 2345 (PCI\\VEN_0000&DEV_1234&SUBSYS_23450), but the text means "
              "a number beyond four hexadecimal digits: the files name another device."}},
        {"USB vendor",
         Bus::Usb,
         [](DeviceDescription& d) { d.UsbVendorId = "-1"; },
         {"UsbVendorId \"-1\" in Scope9_WDM.inf: the files write \"-1\" where four hexadecimal "
          "digits belong (USB\\VID_-1&PID_ABCD): no device matches it."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceDescription device = OrdinaryDevice();
        c.change(device);
        EXPECT_EQ(Described(device, c.bus), c.expected);
    }
}

// A value can carry several hazards; each is its own entry, with its kind.
TEST(InfHazardsTest, OneEntryPerKindOfAValue) {
    DeviceDescription device = OrdinaryDevice();
    device.ManufName = "\"%1%\"\n";
    std::vector<InfHazardKind> kinds;
    for (const InfHazard& hazard : FindInfHazards(device, Bus::PxiPci)) {
        kinds.push_back(hazard.kind);
        EXPECT_EQ(hazard.value, "ManufName");
        EXPECT_EQ(hazard.text, device.ManufName);
    }
    EXPECT_EQ(kinds, (std::vector<InfHazardKind>{InfHazardKind::DoubleQuote, InfHazardKind::Percent,
                                                 InfHazardKind::LineBreak}));
}

}  // namespace
}  // namespace tessaly
