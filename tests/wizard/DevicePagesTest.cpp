#include <functional>

#include "resources/StringTable.h"
#include "tests/fakes/FakeSysfs.h"  // the sample ID databases
#include "tests/wizard/SheetHarness.h"

namespace tessaly::testing {
namespace {

using DevicePages = SheetHarness;

const std::string kZero(strings::kManufacturerIdZero);
const std::string kSubsystemZero(strings::kSubsystemManufacturerIdZero);
const std::string kBadCount(strings::kInterfaceCountInvalid);

// (page, what the user does) -> (what the fields show and enable, the messages, the page the
// sheet is on afterwards).
TEST_F(DevicePages, FieldsChecksAndNextOfThePages) {
    struct Row {
        const char* what;
        PageId page;
        std::function<void(DevicePages&)> act;
        std::map<ControlId, std::string> shown;
        std::map<ControlId, bool> enabled;
        std::vector<std::string> messages;
        PageId after;
    };
    const Row rows[] = {
        {"untouched bus page: PXI/PCI",
         kPageWelcome,
         [](auto& t) { t.Next(); },
         {},
         {},
         {},
         kPageWelcomePxi},
        {"USB, there and back, then PXI/PCI again",
         kPageWelcome,
         [](auto& t) {
             t.Check(kUsbRadio);
             t.Next();
             t.Back();
             t.Check(kPxiRadio);
             t.Next();
         },
         {},
         {},
         {},
         kPageWelcomePxi},
        {"an ID is normalised only when left; Enter leaves it, then zero is refused",
         kPageWelcomePxi,
         [](auto& t) {
             t.Type(kManufCodeEdit, "0");
             EXPECT_EQ(t.Text(kManufCodeEdit), "0");
             t.Next();
         },
         {{kManufCodeEdit, "0x0000"}},
         {},
         {kZero},
         kPageWelcomePxi},
        {"an ID left by Tab, a name left as typed",
         kPageWelcomePxi,
         [](auto& t) {
             t.Type(kSubsystemModelCodeEdit, "-1");
             t.Leave(kSubsystemModelCodeEdit);
             t.Type(kManufNameEdit, " Caf\xe9 ");
             t.Leave(kManufNameEdit);
         },
         {{kSubsystemModelCodeEdit, "0xFFFF"}, {kManufNameEdit, " Caf\xe9 "}},
         {{kSubsystemManufCodeEdit, false}, {kSubsystemModelCodeLabel, false}},
         {},
         kPageWelcomePxi},
        {"a used subsystem must have a manufacturer",
         kPageWelcomePxi,
         [](auto& t) {
             t.Check(kUsesSubsystemCheck);
             t.Next();
         },
         {},
         {{kSubsystemManufCodeEdit, true}, {kSubsystemModelCodeLabel, true}},
         {kSubsystemZero},
         kPageWelcomePxi},
        {"an unused subsystem is not checked",
         kPageWelcomePxi,
         [](auto& t) {
             t.Check(kUsesSubsystemCheck);
             t.Check(kUsesSubsystemCheck, false);
             t.Next();
         },
         {},
         {},
         {},
         kPageFinal},
        {"interrupts lead to the detection page",
         kPageWelcomePxi,
         [](auto& t) {
             t.Check(kGeneratesInterruptsCheck);
             t.Next();
         },
         {},
         {},
         {},
         kPageIsMine},
        {"USB vendor zero refused",
         kPageWelcomeUsb,
         [](auto& t) {
             t.Type(kUsbVendorIdEdit, "0");
             t.Next();
         },
         {{kUsbVendorIdEdit, "0x0000"}},
         {{kInterfaceCountEdit, false}},
         {kZero},
         kPageWelcomeUsb},
        {"USB product zero passes",
         kPageWelcomeUsb,
         [](auto& t) {
             t.Type(kUsbProductIdEdit, "0");
             t.Next();
         },
         {},
         {},
         {},
         kPageFinal},
        {"compound: 1 and 100 refused, 99 taken",
         kPageWelcomeUsb,
         [](auto& t) {
             t.Check(kCompoundDeviceCheck);
             for (const char* count : {"1", "100", "99"}) {
                 t.Type(kInterfaceCountEdit, count);
                 t.Next();
             }
             EXPECT_EQ(t.model.device.InterfaceCount, 99);
         },
         {},
         {{kInterfaceCountEdit, true}},
         {kBadCount, kBadCount},
         kPageFinal},
        {"compound cleared after a bad count: the count is not read",
         kPageWelcomeUsb,
         [](auto& t) {
             t.Check(kCompoundDeviceCheck);
             t.Type(kInterfaceCountEdit, "100");
             t.Check(kCompoundDeviceCheck, false);
             t.Next();
         },
         {},
         {{kInterfaceCountEdit, false}},
         {},
         kPageFinal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        model = WizardModel{};
        prompter.messages.clear();
        Open(row.page);
        row.act(*this);
        for (const auto& [control, text] : row.shown) {
            EXPECT_EQ(views[row.page][control].text, text) << control;
        }
        for (const auto& [control, enabled] : row.enabled) {
            EXPECT_EQ(views[row.page][control].enabled, enabled) << control;
        }
        EXPECT_EQ(prompter.Texts(), row.messages);
        EXPECT_EQ(Page(), row.after);
    }
}

// A failed or cancelled load leaves the page as it was. After a load, Next without "View or
// change loaded settings" writes every file and jumps to page 7; with it, the flow goes on to
// the pages the loaded values call for, whose lists then show what was loaded.
TEST_F(DevicePages, LoadedFileIsReviewedOrWrittenAtOnce) {
    dialogs.fileChoices = {std::nullopt, GoldenPath("pxi_demo_NT5.inf"),
                           GoldenPath("mdf_interrupts.ini")};
    AddGolden("pxi_demo_NT5.inf");
    AddGolden("mdf_interrupts.ini");
    prompter.yesNoAnswers = {true};
    model.device.GeneratesInterrupts = true;
    dialogs.stepEdits = {StepEditorFields{}};
    Open(kPageIsMine);  // visited before the load, with a step added
    Click(kAddAfterButton);
    Back();
    Type(kManufNameEdit, "Typed");
    for (int i = 0; i < 3; ++i) {
        Click(kLoadModuleFileButton);
        EXPECT_EQ(Text(kManufNameEdit), i < 2 ? "Typed" : "Acme Instruments");
        EXPECT_EQ(Enabled(kViewLoadedSettingsCheck), i == 2);
    }
    EXPECT_EQ(dialogs.fileDialogs.back(),
              (OpenFileRequest{
                  "Open Module Description File",
                  {{"Module Description Files (*.ini)", {"*.ini"}}, {"All Files (*.*)", {"*.*"}}},
                  "ini"}));
    EXPECT_EQ(prompter.Texts(), std::vector{std::string(strings::kNotModuleDescriptionFile)});

    Check(kViewLoadedSettingsCheck);
    Next();
    ASSERT_EQ(Page(), kPageIsMine);
    EXPECT_EQ(View()[kSequenceCombo].items, (std::vector<std::string>{"Sequence 0", "Sequence 1"}));
    EXPECT_EQ(View()[kStepList].rows,
              (std::vector<std::vector<std::string>>{
                  {"Compare", "16-bit", "BAR0", "0x00000010", "0xFFFF", "0x0001"}}));
    Next();
    EXPECT_EQ(View()[kStepList].rows.size(), 1u);  // the loaded removal step
    Back();
    Back();
    Check(kViewLoadedSettingsCheck, false);
    Next();
    EXPECT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/acme4321/acme4321_NT5.inf"));
    Back();  // page 6, shown for the first time
    EXPECT_EQ(Text(kPrefixEdit), "acme4321");
}

// A pick fills what the page would get typed, and sets every field it owns: a second pick of a
// device the databases do not know leaves no name of the first. Cancelling changes nothing.
TEST_F(DevicePages, PickedDeviceFillsEveryFieldItOwns) {
    fake.devices.idFiles = {{"pci.ids", kSamplePciIds}, {"usb.ids", kSampleUsbIds}};
    fake.devices.pci = {{.address = "0000:00:0a.0",
                         .vendorId = 0x1a2b,
                         .deviceId = 0x0042,
                         .subsystemVendorId = 0x1a2b,
                         .subsystemDeviceId = 0x0001},
                        {.address = "0000:00:0b.0", .vendorId = 0x9999, .deviceId = 0x0001}};
    fake.devices.usb = {
        {.busPath = "1-1", .vendorId = 0x0957, .productId = 0x1745, .interfaceCount = 3}};
    dialogs.deviceChoices = {std::nullopt, 0, 1, 0};
    Open(kPageWelcomePxi);
    const auto shown = [this](std::initializer_list<ControlId> controls) {
        std::string texts;
        for (const ControlId control : controls) {
            texts += Text(control) + (Enabled(control) ? "|" : ")|");
        }
        return texts;
    };
    const std::initializer_list<ControlId> pxi = {kManufCodeEdit, kSubsystemModelCodeEdit,
                                                  kManufNameEdit, kModelNameEdit};
    const std::string before = shown(pxi);
    Click(kPickDeviceButton);
    EXPECT_EQ(shown(pxi), before);
    Click(kPickDeviceButton);
    EXPECT_EQ(shown(pxi), "0x1A2B|0x0001|Tessaly Instruments|TX-4021 Digitizer|");
    Click(kPickDeviceButton);
    EXPECT_EQ(shown(pxi), "0x9999|0x0000)|||");
    Next();
    EXPECT_EQ(Page(), kPageFinal);

    Open(kPageWelcomeUsb);
    Click(kPickDeviceButton);
    EXPECT_EQ(shown({kUsbProductIdEdit, kInterfaceCountEdit}), "0x1745|3|");
    EXPECT_TRUE(View()[kCompoundDeviceCheck].checked);
    Next();
    EXPECT_EQ(model.device.InterfaceCount, 3);
    EXPECT_TRUE(prompter.messages.empty());
}

// Fields refuse what their text cannot hold and say which characters: a value what Latin-1
// lacks, the interface count anything but digits (silently); a path takes anything.
TEST_F(DevicePages, FieldsRefuseWhatTheirTextCannotHold) {
    const std::string euro = "\xe2\x82\xac";
    const std::string others = "\xe2\x86\x92\xf0\x9f\x98\x80";
    const std::string note =
        "\" cannot be used here: this text is written in the Windows Western (Latin-1) code page, "
        "which has no ";
    Open(kPageWelcomeUsb);
    const std::tuple<ControlId, std::string, std::optional<std::string>> rows[] = {
        {kUsbManufNameEdit, "Caf\xc3\xa9", std::nullopt},
        {kUsbManufNameEdit, "x" + euro + "y" + euro, "\"" + euro + note + "such character."},
        {kUsbModelNameEdit, euro + others, "\"" + euro + others + note + "such characters."},
        {kInterfaceCountEdit, "9x", ""},
        {kInterfaceCountEdit, "99", std::nullopt},
    };
    for (const auto& [control, typed, refusal] : rows) {
        EXPECT_EQ(Presenter().RefusalOf(control, typed), refusal) << typed;
    }
    Open(kPageFinal);
    EXPECT_EQ(Presenter().RefusalOf(kDirectoryEdit, "/" + euro), std::nullopt);
    EXPECT_TRUE(Presenter().RefusalOf(kPrefixEdit, euro));
}

}  // namespace
}  // namespace tessaly::testing
