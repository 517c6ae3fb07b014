#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

using DevicePages = WizardHarness;

// An ID field shows its value normalised once left, and only then. Enter presses Next, but first
// finishes the field as leaving it would: "0" is refused as zero only once normalised.
TEST_F(DevicePages, IdFieldsAreNormalisedWhenLeft) {
    const std::tuple<PageId, const char*, const char*, const char*, Qt::Key> cases[] = {
        {kPageWelcomePxi, "manufCodeEdit", "0", "0x0000", Qt::Key_Return},
        {kPageWelcomePxi, "subsystemModelCodeEdit", "-1", "0xFFFF", Qt::Key_Tab},
        {kPageWelcomeUsb, "usbVendorIdEdit", "0", "0x0000", Qt::Key_Return},
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

// The count field takes digits only and is enabled, and read, only while the compound box is
// set, which Alt+C sets; Tab leads from the box to the count. The product ID may be zero.
TEST_F(DevicePages, InterfaceCountFollowsTheCompoundBox) {
    for (const bool compound : {true, false}) {
        model = WizardModel{};
        Open(kPageWelcomeUsb);
        Type("usbProductIdEdit", "0");
        EXPECT_FALSE(Find("interfaceCountEdit")->isEnabled());
        Key(Qt::Key_C, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([this] { return Find("interfaceCountEdit")->isEnabled(); }));
        Key(Qt::Key_Tab);
        EXPECT_EQ(Focused(), "interfaceCountEdit");
        Type("interfaceCountEdit", compound ? "9x9" : "100");
        EXPECT_EQ(Text("interfaceCountEdit"), compound ? "99" : "100");
        if (!compound) {  // cleared after typing: the count no longer matters
            Click("compoundDeviceCheck");
            EXPECT_FALSE(Find("interfaceCountEdit")->isEnabled());
        }
        Next();
        EXPECT_EQ(Page(), kPageFinal);
    }
    EXPECT_TRUE(prompter.messages.empty());
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
