#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "output/InfWriters.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakeFileSystem;
using testing::MatchesGolden;
using testing::RecordingPrompter;
using Ids = std::vector<std::string>;
using namespace std::string_literals;

struct Writer {
    const char* suffix;  // of the golden file's name
    std::string OutputFiles::*path;
    std::function<void(const DeviceDescription&, OutputPlan&, FileSystem&, Prompter&)> write;
    const char* kind;  // named by the failure message
    bool recordsIds;
};

const Writer kPxiWriters[] = {{"_RT", &OutputFiles::RtInf, WriteRtInf, "Vantorix RT", false},
                              {"_9x", &OutputFiles::Inf9x, Write9xInf, "Windows 9x", false},
                              {"_NT4", &OutputFiles::Nt4Inf, WriteNt4Inf, "Windows NT", false},
                              {"_NT5", &OutputFiles::Nt5Inf, WriteNt5Inf, "Windows XP/2000", true}};
const Writer kWdmWriter = {"", &OutputFiles::WdmInf, WriteWdmInf, "Windows WDM", true};

// codes: ManufCode and ModelCode, then the subsystem IDs for a device that uses them.
DeviceDescription Pci(Ids codes, const char* manuf, const char* model, const char* prefix,
                      bool interrupts, const char* removal, std::vector<DetectSequence> detect) {
    DeviceDescription d;
    d.UsesSubsystem = codes.size() == 4;
    codes.resize(4, "0x0000");
    std::tie(d.ManufCode, d.ModelCode, d.SubsystemManufCode, d.SubsystemModelCode, d.ManufName,
             d.ModelName, d.InstrumentPrefix, d.GeneratesInterrupts, d.RemovalSteps,
             d.DetectSequences) = std::tie(codes[0], codes[1], codes[2], codes[3], manuf, model,
                                           prefix, interrupts, removal, detect);
    return d;
}

// A simple device keeps an interface count, which its file must ignore.
DeviceDescription Usb(const char* vid, const char* pid, const char* manuf, const char* model,
                      const char* prefix, bool compound = false, int interfaces = 2) {
    DeviceDescription d;
    std::tie(d.BusType, d.UsbVendorId, d.UsbProductId, d.UsbManufName, d.UsbModelName,
             d.InstrumentPrefix, d.IsCompoundDevice, d.InterfaceCount) =
        std::tuple(Bus::Usb, vid, pid, manuf, model, prefix, compound, interfaces);
    return d;
}

// The golden file's name, the device, what the XP/2000 or the WDM file records in writing order.
// demo: a removal string left over without interrupts. subsys and odd_texts: a quote, a percent
// sign and Latin-1 bytes, copied unescaped. lower: lower-case IDs, sequences numbered by position
// whatever their labels. short and odd_texts: ID texts too short or too long.
const std::tuple<const char*, DeviceDescription, Ids> kCases[] = {
    {"pxi_demo",
     Pci({"0xABCD", "0x1234"}, "Acme Instruments", "PX-100 Counter", "demo", false,
         "W32 BAR1 0x00000100 0x00000001;", {}),
     {"PCI\\VEN_ABCD&DEV_1234", "PCI\\VEN_ABCD&DEV_1234&SUBSYS_00000000&REV_00"}},
    {"pxi_subsys",
     Pci({"0xABCD", "0x1234", "0x5678", "0x9ABC"}, "Caf\xE9 \"Labs\" 100%", "5 \xB5s Timer",
         "abcdefgh", true, "R8 CFG 0x00000004;W32 BAR1 0x00000100 0x00000001;",
         {{0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1}}),
     {"PCI\\VEN_ABCD&DEV_1234&SUBSYS_9ABC5678"}},
    {"pxi_lower",
     Pci({"0xabcd", "0xc4c1"}, "Lower Case Ltd", "LC-3", "lc", true, "W16 BAR0 0x00000002 0x8000;",
         {{0, "C8 CFG 0x00000044 0xFF 0x01;", 1},
          {5, "R16 BAR0 0x00000000;C16 BAR0 0x00000002 0x8000 0x8000;", 2},
          {2, "C32 BAR2 0x00000010 0x0000FFFF 0x00000001;", 1}}),
     {"PCI\\VEN_abcd&DEV_c4c1", "PCI\\VEN_abcd&DEV_c4c1&SUBSYS_00000000&REV_00"}},
    {"pxi_short",
     Pci({"0", "0", "0x12345", "7"}, "Short IDs Inc", "", "short", true, "", {}),
     {"PCI\\VEN_0&DEV_0&SUBSYS_72345"}},
    {"wdm_simple",
     Usb("0x1234", "0xABCD", "Acme Instruments", "Model 42 Counter", "dev"),
     {"USB\\VID_1234&PID_ABCD"}},
    {"wdm_compound",
     Usb("0x1234", "0xABCD", "Acme Instruments", "Model 42 Counter", "dev", true, 3),
     {"USB\\VID_1234&PID_ABCD&MI_00", "USB\\VID_1234&PID_ABCD&MI_01",
      "USB\\VID_1234&PID_ABCD&MI_02"}},
    {"wdm_odd_texts",
     Usb("0x1a2b", "7", "Caf\xE9 \"Labs\" 100%", "50% \"Probe\" \xE9", "odd"),
     {"USB\\VID_1a2b&PID_7"}},
};

TEST(InfWritersTest, EachWriterReplacesItsFileOrReportsAndRecordsNothing) {
    for (const auto& [name, device, ids] : kCases) {
        const bool usb = device.BusType == Bus::Usb;
        for (const Writer& w : usb ? std::span<const Writer>(&kWdmWriter, 1) : kPxiWriters) {
            const std::string golden = name + std::string(w.suffix) + ".inf";
            FakeFileSystem files;
            RecordingPrompter prompter;
            OutputPlan plan;
            Ids expected = plan.HardwareIds = {"earlier"};
            const std::string& path = plan.Files.*w.path = "c:\\" + golden;
            files.AddFile(path, std::string(10000, 'x'));
            w.write(device, plan, files, prompter);
            EXPECT_TRUE(MatchesGolden(golden, files.Contents(path))) << golden;
            expected.insert(expected.end(), ids.begin(), w.recordsIds ? ids.end() : ids.begin());
            EXPECT_EQ(plan.HardwareIds, expected) << golden;
            EXPECT_TRUE(prompter.messages.empty()) << golden;

            files.LockFile(path);
            w.write(device, plan, files, prompter);
            const std::string failed = "Unable to save "s + w.kind + " Setup Information File";
            EXPECT_EQ(prompter.Texts(), Ids{failed}) << golden;
            EXPECT_EQ(prompter.messages.at(0).icon, MessageIcon::Exclamation);
            EXPECT_EQ(plan.HardwareIds, expected) << golden;
        }
    }
}

TEST(InfWritersTest, InterfaceNumbersHaveTwoDigits) {
    Ids ids;
    RenderWdmInf(Usb("0x1234", "0xABCD", "", "", "dev", true, 11), ids);
    ASSERT_EQ(ids.size(), 11u);
    EXPECT_EQ(ids.back(), "USB\\VID_1234&PID_ABCD&MI_10");
}

TEST(InfWritersTest, RtProductNumberTakesTheFirstThreeDigitsLowByteFirst) {
    // Longer texts are in the goldens; shorter model texts read as the ID's low digits.
    for (const auto& [model, bytes] : {std::pair{"123", "23,01"}, {"12", "01,00"}, {"", "00,00"}}) {
        const std::string rt = RenderRtInf(Pci({"0xABCD", model}, "", "", "", false, "", {}));
        EXPECT_NE(rt.find("\r\nHKR,,ProductNumber,1,"s + bytes + "\r\n"), rt.npos) << model;
    }
}

}  // namespace
}  // namespace tessaly
