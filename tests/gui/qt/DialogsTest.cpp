#include <QMessageBox>

#include "gui/qt/QtPrompter.h"
#include "gui/qt/output/DirectoryBrowser.h"
#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// Filters and texts take the Qt form; a question carries the caption and gives the answer; the
// function chooser gives the position chosen and the step editor its texts, or none when
// cancelled.
TEST(QtPrompterTest, ConvertsTextsAndGivesWhatTheDialogsAnswer) {
    EXPECT_EQ(QtFileFilters("Module Description Files (*.ini)|*.ini|All Files (*.*)|*.*||"),
              (QStringList{"Module Description Files (*.ini)", "All Files (*)"}));
    EXPECT_EQ(MessageText("/home/j\xc3\xb6rg"), QString::fromUtf8("/home/j\u00f6rg"));
    EXPECT_EQ(MessageText("Caf\xe9"), QString::fromUtf8("Caf\u00e9"));
    QtPrompter prompter;
    for (const bool yes : {true, false}) {
        WhenModal<QMessageBox>([yes](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "Tessaly Wizard");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(prompter.AskYesNo("Create it?"), yes);
    }
    WhenModal([](QDialog* chooser) {
        QTest::keyClick(chooser->findChild<QWidget*>("functionCombo"), Qt::Key_Down);
        QTest::keyClick(chooser, Qt::Key_Return);  // OK is the default button
    });
    EXPECT_EQ(prompter.ChooseFunction("F0 (0x0001);F1 (0x0002);F2 (0x0003);"), 1);
    WhenModal([](QDialog* d) { d->findChild<QAbstractButton*>("cancelButton")->click(); });
    EXPECT_EQ(prompter.ChooseFunction("A (1);B (2);"), std::nullopt);
    WhenModal([](QDialog* editor) {
        auto* value = editor->findChild<QLineEdit*>("valueEdit");
        value->setFocus();
        value->selectAll();
        QTest::keyClicks(value, "5");
        QTest::keyClick(value, Qt::Key_Return);
    });
    // A text no list entry begins with comes back empty.
    EXPECT_EQ(prompter.EditStep({"Write", "Byte (8-bit)", "BAR9", "4", "0", "0"}),
              (StepEditorFields{"Write", "Byte (8-bit)", "", "0x00000004", "0x00", "0x05"}));
    WhenModal([](QDialog* editor) { editor->reject(); });
    EXPECT_EQ(prompter.EditStep({}), std::nullopt);
}

// A folder that does not exist yet starts the chooser at its nearest existing parent.
TEST(DirectoryBrowserTest, StartsAtTheNearestFolderAndReturnsTheChoice) {
    const std::string start = GoldenPath("a-folder-not-there-yet/with-a-rather-long-name");
    CDirectoryBrowser browser(start, nullptr);
    WhenModal([](QDialog* modal) { modal->accept(); });
    ASSERT_EQ(browser.Show(), 1);
    EXPECT_EQ(browser.ChosenPath(), TESSALY_GOLDEN_DIR);
    WhenModal([](QDialog* modal) { modal->reject(); });
    EXPECT_EQ(browser.Show(), 2);
}

}  // namespace
}  // namespace tessaly::testing
