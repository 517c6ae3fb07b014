#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>

#include "resources/StringTable.h"
#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

using DevicePages = WizardHarness;

// Leaves a field the way a user does: Tab to the next control.
void Leave(QWidget* field) {
    QTest::keyClick(field, Qt::Key_Tab);
}

TEST_F(DevicePages, IdFieldsAreNormalisedWhenTheyLoseTheFocus) {
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"1234", "0x04D2"}, {"0x1abc", "0x1ABC"},  {"0x12345", "0x2345"}, {"-1", "0xFFFF"},
        {"017", "0x000F"},  {" 0x1234", "0x1234"}, {"xyz", "0x0000"},     {"", "0x0000"},
    };
    Open(kPageWelcomePxi);
    Click("usesSubsystemCheck");
    const std::pair<const char*, std::string DeviceDescription::*> fields[] = {
        {"manufCodeEdit", &DeviceDescription::ManufCode},
        {"modelCodeEdit", &DeviceDescription::ModelCode},
        {"subsystemManufCodeEdit", &DeviceDescription::SubsystemManufCode},
        {"subsystemModelCodeEdit", &DeviceDescription::SubsystemModelCode},
    };
    for (const auto& [field, value] : fields) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(field) + " '" + c.typed + "'");
            Type(field, c.typed);
            EXPECT_EQ(Text(field), c.typed);  // nothing changes while typing
            Leave(Find(field));
            EXPECT_EQ(Text(field), c.shown);
            EXPECT_EQ(model.device.*value, c.shown);
        }
    }
}

TEST_F(DevicePages, LeavingAnIdFieldKeepsWhatOtherFieldsHold) {
    Open(kPageWelcomePxi);
    Type("manufNameEdit", "Acme");
    Type("manufCodeEdit", "10");
    Leave(Find("manufCodeEdit"));
    EXPECT_EQ(Text("manufNameEdit"), "Acme");
    EXPECT_EQ(model.device.ManufName, "Acme");
    // Names are never normalised.
    Type("modelNameEdit", "12");
    Leave(Find("modelNameEdit"));
    EXPECT_EQ(Text("modelNameEdit"), "12");
}

TEST_F(DevicePages, UsbIdFieldsAreNormalisedToo) {
    Open(kPageWelcomeUsb);
    Type("usbVendorIdEdit", "0");
    Leave(Find("usbVendorIdEdit"));
    EXPECT_EQ(Text("usbVendorIdEdit"), "0x0000");
    Type("usbProductIdEdit", "4660");
    Leave(Find("usbProductIdEdit"));
    EXPECT_EQ(Text("usbProductIdEdit"), "0x1234");
    Type("usbModelNameEdit", "0");
    Leave(Find("usbModelNameEdit"));
    EXPECT_EQ(Text("usbModelNameEdit"), "0");
}

TEST_F(DevicePages, SubsystemRuleFollowsItsCheckBox) {
    Open(kPageWelcomePxi);
    const char* controls[] = {"subsystemManufCodeEdit", "subsystemModelCodeEdit",
                              "subsystemManufCodeLabel", "subsystemModelCodeLabel"};
    for (const char* name : controls) {
        EXPECT_FALSE(Find(name)->isEnabled()) << name;
    }
    Click("usesSubsystemCheck");
    for (const char* name : controls) {
        EXPECT_TRUE(Find(name)->isEnabled()) << name;
    }
    // 0x0000 is the subsystem default: refused while the subsystem is used.
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
    EXPECT_EQ(prompter.messages,
              (std::vector<RecordingPrompter::Message>{
                  {std::string(strings::kSubsystemManufacturerIdZero), MessageIcon::Stop}}));
    Click("usesSubsystemCheck");
    for (const char* name : controls) {
        EXPECT_FALSE(Find(name)->isEnabled()) << name;
    }
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    EXPECT_FALSE(model.device.UsesSubsystem);
}

TEST_F(DevicePages, PxiPageRefusesAZeroManufacturerId) {
    Open(kPageWelcomePxi);
    Type("manufCodeEdit", "0");
    Next();
    EXPECT_EQ(Text("manufCodeEdit"), "0x0000");
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
    EXPECT_EQ(prompter.messages,
              (std::vector<RecordingPrompter::Message>{
                  {std::string(strings::kManufacturerIdZero), MessageIcon::Stop}}));
}

TEST_F(DevicePages, UntouchedLoadedIdsAreCheckedAsText) {
    model.device.ManufCode = "0";  // as a file may hold it: not zero by the textual test
    Open(kPageWelcomePxi);
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    EXPECT_EQ(model.device.ManufCode, "0");
    sheet.reset();

    model.device.ManufCode = "0x0000";
    Open(kPageWelcomePxi);
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
}

TEST_F(DevicePages, CompoundRuleAndInterfaceCount) {
    const struct {
        bool compound;
        const char* count;
        bool accepted;
    } cases[] = {
        {true, "2", true}, {true, "99", true}, {true, "1", false}, {true, "100", false},
        {true, "", false}, {false, "1", true}, {false, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.count) + (c.compound ? " compound" : ""));
        model = WizardModel{};
        prompter.messages.clear();
        Open(kPageWelcomeUsb);
        auto* check = Find<QCheckBox>("compoundDeviceCheck");
        EXPECT_FALSE(Find("interfaceCountEdit")->isEnabled());
        if (c.compound) {
            Click("compoundDeviceCheck");
            EXPECT_TRUE(Find("interfaceCountEdit")->isEnabled());
            Type("interfaceCountEdit", c.count);
        } else {
            Click("compoundDeviceCheck");
            Type("interfaceCountEdit", c.count);
            Click("compoundDeviceCheck");  // cleared after typing: the count is ignored
            EXPECT_FALSE(Find("interfaceCountEdit")->isEnabled());
        }
        EXPECT_EQ(check->isChecked(), c.compound);
        Next();
        EXPECT_EQ(sheet->ActivePageId(), c.accepted ? kPageFinal : kPageWelcomeUsb);
        if (!c.accepted) {
            EXPECT_EQ(prompter.Texts(),
                      std::vector<std::string>{std::string(strings::kInterfaceCountInvalid)});
        }
        sheet.reset();
    }
}

TEST_F(DevicePages, InterfaceCountTakesDigitsOnly) {
    Open(kPageWelcomeUsb);
    Click("compoundDeviceCheck");
    Type("interfaceCountEdit", "1x2");
    EXPECT_EQ(Text("interfaceCountEdit"), "12");
}

TEST_F(DevicePages, UsbPageRefusesAZeroVendorButNotAZeroProduct) {
    model.device.BusType = kBusUsb;
    Open(kPageWelcomeUsb);
    Type("usbProductIdEdit", "0");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    EXPECT_EQ(model.device.UsbProductId, "0x0000");
    Back();
    ASSERT_EQ(sheet->ActivePageId(), kPageWelcomeUsb);
    Type("usbVendorIdEdit", "0");
    EXPECT_EQ(Text("usbVendorIdEdit"), "0");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomeUsb);
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{std::string(strings::kManufacturerIdZero)});
}

TEST_F(DevicePages, UsbAndPxiNamesAreSeparateValues) {
    Open();
    Click("usbRadio");
    Next();
    Type("usbManufNameEdit", "Usb Maker");
    Next();
    Back();
    Back();
    Click("pxiRadio");
    Next();
    EXPECT_EQ(Text("manufNameEdit"), "Your Manufacturer Name");
    EXPECT_EQ(model.device.UsbManufName, "Usb Maker");
}

TEST_F(DevicePages, TextFieldsTakeLatin1Only) {
    Open(kPageWelcomePxi);
    Type("manufNameEdit", "");
    // Characters no key of the test keyboard has arrive as key events carrying their text.
    for (const QChar c : QString::fromUtf8("Caf\u00e9 \u20ac")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(Find("manufNameEdit"), &press);
    }
    EXPECT_EQ(Text("manufNameEdit"), QString::fromUtf8("Caf\u00e9 "));
    Next();
    EXPECT_EQ(model.device.ManufName, "Caf\xe9 ");
}

TEST_F(DevicePages, MnemonicsMoveTheFocusToTheirFields) {
    Open(kPageWelcomePxi);
    const struct {
        Qt::Key key;
        const char* field;
    } cases[] = {{Qt::Key_M, "manufCodeEdit"},
                 {Qt::Key_O, "modelCodeEdit"},
                 {Qt::Key_R, "manufNameEdit"},
                 {Qt::Key_A, "modelNameEdit"}};
    for (const auto& c : cases) {
        QTest::keyClick(sheet.get(), c.key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), Find(c.field)) << c.field;
    }
}

}  // namespace
}  // namespace tessaly::testing
