#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

using DevicePages = WizardHarness;

// An ID field shows its value normalised once left, and only then.
TEST_F(DevicePages, IdFieldsAreNormalisedWhenLeft) {
    const std::tuple<PageId, const char*, const char*, const char*> cases[] = {
        {kPageWelcomePxi, "manufCodeEdit", "1234", "0x04D2"},
        {kPageWelcomePxi, "modelCodeEdit", "0x1abc", "0x1ABC"},
        {kPageWelcomePxi, "subsystemManufCodeEdit", "0x12345", "0x2345"},
        {kPageWelcomePxi, "subsystemModelCodeEdit", "-1", "0xFFFF"},
        {kPageWelcomeUsb, "usbVendorIdEdit", "0", "0x0000"},
        {kPageWelcomeUsb, "usbProductIdEdit", "4660", "0x1234"},
    };
    model.device.UsesSubsystem = true;
    for (const auto& [page, field, typed, shown] : cases) {
        if (!sheet || Page() != page) {
            Open(page);
        }
        Type(field, typed);
        EXPECT_EQ(Text(field), typed);  // nothing changes while typing
        Leave(field);
        EXPECT_EQ(Text(field), shown);
    }
}

TEST_F(DevicePages, SubsystemFieldsFollowTheirCheckBoxAndAreCheckedOnlyWhenUsed) {
    const char* controls[] = {"subsystemManufCodeEdit", "subsystemModelCodeEdit",
                              "subsystemManufCodeLabel", "subsystemModelCodeLabel"};
    const auto enabled = [&] {
        return std::count_if(std::begin(controls), std::end(controls),
                             [this](const char* name) { return Find(name)->isEnabled(); });
    };
    model.device.ManufCode = "0";  // as a file may hold it: not zero as a text, kept untouched
    Open(kPageWelcomePxi);
    EXPECT_EQ(enabled(), 0);
    for (const bool used : {true, false}) {
        Click("usesSubsystemCheck");
        EXPECT_EQ(enabled(), used ? 4 : 0);
        Next();  // the subsystem manufacturer ID is 0x0000
        EXPECT_EQ(Page(), used ? kPageWelcomePxi : kPageFinal);
    }
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{std::string(strings::kSubsystemManufacturerIdZero)});
}

// Enter presses Next, but first finishes the field as leaving it would.
TEST_F(DevicePages, EnterPressesNextAfterFinishingTheField) {
    Open();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Type("manufCodeEdit", "0");
    QTest::keyClick(Find("manufCodeEdit"), Qt::Key_Return);
    EXPECT_EQ(Page(), kPageWelcomePxi);
    EXPECT_EQ(Text("manufCodeEdit"), "0x0000");
    EXPECT_EQ(prompter.messages.size(), 1u);  // the zero ID refused
}

// The count is read only while the compound box is set; the product ID may be zero.
TEST_F(DevicePages, UsbChecksFollowTheCompoundRule) {
    const std::tuple<const char*, bool, const char*, std::string_view> cases[] = {
        {"1", true, "9x9", ""},  // digits only: 99
        {"1", true, "100", strings::kInterfaceCountInvalid},
        {"1", false, "1", ""},
        {"0", false, "", strings::kManufacturerIdZero},
    };
    for (const auto& [vendor, compound, count, said] : cases) {
        model = WizardModel{};
        prompter.messages.clear();
        Open(kPageWelcomeUsb);
        Type("usbVendorIdEdit", vendor);
        Type("usbProductIdEdit", "0");
        EXPECT_FALSE(Find("interfaceCountEdit")->isEnabled());
        Click("compoundDeviceCheck");
        Type("interfaceCountEdit", count);
        EXPECT_EQ(Text("interfaceCountEdit"), QString(count).remove('x'));
        if (!compound) {  // cleared after typing
            Click("compoundDeviceCheck");
            EXPECT_FALSE(Find("interfaceCountEdit")->isEnabled());
        }
        Next();
        EXPECT_EQ(Page(), said.empty() ? kPageFinal : kPageWelcomeUsb) << count;
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>(!said.empty(), std::string(said)));
    }
}

TEST_F(DevicePages, NameFieldsTakeLatin1OnlyAndAreKept) {
    Open(kPageWelcomePxi);
    Type("manufNameEdit", "");
    // Characters no key of the test keyboard has arrive as key events carrying their text.
    for (const QChar c : QString::fromUtf8("Caf\u00e9 \u20ac")) {
        QTest::sendKeyEvent(QTest::Click, Find("manufNameEdit"), Qt::Key_unknown, c, {});
    }
    // Names are not normalised, and leaving an ID field keeps them.
    Type("manufCodeEdit", "1");
    Next();
    EXPECT_EQ(model.device.ManufName, "Caf\xe9 ");
}

TEST_F(DevicePages, MnemonicMovesTheFocusToItsField) {
    Open(kPageWelcomePxi);
    QTest::keyClick(sheet.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Find("manufNameEdit"));
}

}  // namespace
}  // namespace tessaly::testing
