#include <QCheckBox>
#include <QRadioButton>
#include <QTreeWidget>

#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// A whole run with the keyboard alone: mnemonics, Tab, typing, Space and Enter on the focused
// control, as a user without a mouse goes through the sheet. The step editor answers from the
// prompter's queue.
struct KeyboardPath : WizardHarness {
    // A mnemonic clicks its button after a short animation.
    void Mnemonic(Qt::Key key) { Key(key, Qt::AltModifier); }
    void TypeHere(const QString& text) {
        Key(Qt::Key_A, Qt::ControlModifier);  // over what the field held
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    bool Reached(PageId page) {
        return QTest::qWaitFor([this, page] { return sheet->isVisible() && Page() == page; });
    }
    int Rows() const { return Find<QTreeWidget>("stepList")->topLevelItemCount(); }
};

TEST_F(KeyboardPath, PxiDeviceWithInterruptsFromTheBusPageToTheInstallation) {
    dialogs.stepEdits = {
        StepEditorFields{"Read/Compare", "Word (16-bit)", "BAR0", "0x00000014", "0x8000", "0x8000"},
        StepEditorFields{"Write", "Word (16-bit)", "BAR0", "0x00000014", "0x0000", "0x8000"}};
    prompter.yesNoAnswers = {true};  // create the output folder
    Open();
    Mnemonic(Qt::Key_U);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Find<QRadioButton>("usbRadio")->isChecked(); }));
    Mnemonic(Qt::Key_P);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Find<QRadioButton>("pxiRadio")->isChecked(); }));
    Key(Qt::Key_Return);
    ASSERT_TRUE(Reached(kPageWelcomePxi));

    Mnemonic(Qt::Key_M);
    EXPECT_EQ(Focused(), "manufCodeEdit");
    TypeHere("6699");
    Mnemonic(Qt::Key_O);  // leaving the field shows the ID in its canonical form
    EXPECT_EQ(Text("manufCodeEdit"), "0x1A2B");
    TypeHere("0x42");
    Mnemonic(Qt::Key_R);
    TypeHere("Tessaly Instruments");
    Mnemonic(Qt::Key_A);
    TypeHere("TX-4021 Digitizer");
    Mnemonic(Qt::Key_G);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return Find<QCheckBox>("generatesInterruptsCheck")->isChecked(); }));
    Key(Qt::Key_Return);
    ASSERT_TRUE(Reached(kPageIsMine));

    // No Compare step yet: Next waits and the focus is on "Add a step after".
    EXPECT_EQ(Shown(), "back (next)");
    EXPECT_EQ(Focused(), "addAfterButton");
    Key(Qt::Key_Space);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Shown(), "back next");
    Mnemonic(Qt::Key_N);
    ASSERT_TRUE(Reached(kPageSquelch));

    Mnemonic(Qt::Key_A);  // the page's "Add a step after"
    ASSERT_TRUE(QTest::qWaitFor([this] { return Rows() == 1; }));
    Key(Qt::Key_Return);
    ASSERT_TRUE(Reached(kPageFinal));

    Mnemonic(Qt::Key_P);
    EXPECT_EQ(Focused(), "prefixEdit");
    TypeHere("tx4021");
    EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/tx4021");
    Key(Qt::Key_Return);  // writes the files, after asking to create the folder
    ASSERT_TRUE(Reached(kPageAfterSaveAction));

    Mnemonic(Qt::Key_T);
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return Find<QRadioButton>("openFolderChoice")->isChecked(); }));
    Mnemonic(Qt::Key_I);
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return Find<QRadioButton>("installChoice")->isChecked(); }));
    Key(Qt::Key_Return);
    EXPECT_FALSE(sheet->isVisible());

    const std::string inf = fake.files.Contents("/windows/inf/tx4021_NT5.inf");
    EXPECT_EQ(inf, fake.files.Contents("/vxipnp/winnt/tx4021/tx4021_NT5.inf"));
    EXPECT_NE(inf.find("PCI\\VEN_1A2B&DEV_0042"), std::string::npos);
    EXPECT_NE(inf.find("\"C16 BAR0 0x00000014 0x8000 0x8000;\""), std::string::npos);
    EXPECT_NE(inf.find("\"W16 BAR0 0x00000014 0x8000;\""), std::string::npos);
    EXPECT_EQ(prompter.Texts().size(), 1u);  // only the question about the folder
}

}  // namespace
}  // namespace tessaly::testing
