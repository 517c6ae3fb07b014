#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

using DevicePages = WizardHarness;

// An ID field shows its value normalised once left, and only then. Enter presses Next, but first
// finishes the field as leaving it would: "0" is refused as zero only once normalised.
TEST_F(DevicePages, IdFieldsAreNormalisedWhenLeft) {
    const std::tuple<PageId, const char*, const char*, const char*, Qt::Key> cases[] = {
        {kPageWelcomePxi, "manufCodeEdit", "0", "0x0000", Qt::Key_Return},
        {kPageWelcomePxi, "modelCodeEdit", "1234", "0x04D2", Qt::Key_Tab},
        {kPageWelcomePxi, "subsystemManufCodeEdit", "0x12345", "0x2345", Qt::Key_Tab},
        {kPageWelcomePxi, "subsystemModelCodeEdit", "-1", "0xFFFF", Qt::Key_Tab},
        {kPageWelcomeUsb, "usbVendorIdEdit", "0", "0x0000", Qt::Key_Return},
        {kPageWelcomeUsb, "usbProductIdEdit", "0x1abc", "0x1ABC", Qt::Key_Tab},
    };
    model.device.UsesSubsystem = true;
    for (const auto& [page, field, typed, shown, key] : cases) {
        Open(page);
        Type(field, typed);
        EXPECT_EQ(Text(field), typed);  // nothing changes while typing
        QTest::keyClick(Find(field), key);
        EXPECT_EQ(Text(field), shown);
    }
    EXPECT_EQ(prompter.Texts(), std::vector(2, std::string(strings::kManufacturerIdZero)));
}

TEST_F(DevicePages, SubsystemFieldsFollowTheirCheckBoxAndAreCheckedOnlyWhenUsed) {
    const char* controls[] = {"subsystemManufCodeEdit", "subsystemModelCodeEdit",
                              "subsystemManufCodeLabel", "subsystemModelCodeLabel"};
    const auto enabled = [&] {
        return std::ranges::count_if(controls, [this](auto n) { return Find(n)->isEnabled(); });
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
    EXPECT_EQ(prompter.Texts(), std::vector(1, std::string(strings::kSubsystemManufacturerIdZero)));
}

// The count is read only while the compound box is set; the product ID may be zero (the
// vendor ID keeps its default).
TEST_F(DevicePages, UsbChecksFollowTheCompoundRule) {
    const std::tuple<bool, const char*, std::string_view> cases[] = {
        {true, "9x9", ""},  // digits only: 99
        {true, "100", strings::kInterfaceCountInvalid},
        {false, "1", ""},
    };
    for (const auto& [compound, count, said] : cases) {
        model = WizardModel{};
        prompter.messages.clear();
        Open(kPageWelcomeUsb);
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

// The mnemonic reaches the name field, which takes Latin-1 only and is not trimmed.
TEST_F(DevicePages, NameFieldIsReachedByItsMnemonicAndTakesLatin1) {
    Open(kPageWelcomePxi);
    QTest::keyClick(sheet.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Find("manufNameEdit"));
    Type("manufNameEdit", " Caf");
    // Characters no key of the test keyboard has arrive as key events carrying their text.
    for (const QChar c : {QChar(0xE9), QChar(0x20AC)}) {
        QTest::sendKeyEvent(QTest::Click, Find("manufNameEdit"), Qt::Key_unknown, c, {});
    }
    Type("manufCodeEdit", "1");  // leaving an ID field keeps the names
    Next();
    EXPECT_EQ(model.device.ManufName, " Caf\xe9");
}

}  // namespace
}  // namespace tessaly::testing
