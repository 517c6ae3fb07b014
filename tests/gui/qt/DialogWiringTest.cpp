#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>

#include "gui/qt/QtPrompter.h"
#include "gui/qt/WidgetSupport.h"
#include "output/FolderStatusText.h"
#include "tests/fakes/SampleDeviceTable.h"
#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// The dialogs as QtDialogs opens them, driven by keys: each control reaches its presenter and
// the presenter's answer comes back. The rules are the presenters' tables (tests/wizard/).
struct DialogWiring : ::testing::Test {
    FakeFileSystem files{'/'};
    QtDialogs dialogs{files};
};

// Every control answers its mnemonic; a width picked with the keys and a type left by Tab
// apply their rules; Enter is OK and Escape cancels.
TEST_F(DialogWiring, StepEditor) {
    WhenModal([](QDialog* editor) {
        using Case = std::pair<Qt::Key, const char*>;
        for (const auto& [key, control] :
             {Case{Qt::Key_T, "accessCombo"}, Case{Qt::Key_W, "widthCombo"},
              Case{Qt::Key_A, "spaceCombo"}, Case{Qt::Key_F, "offsetEdit"},
              Case{Qt::Key_M, "maskEdit"}, Case{Qt::Key_V, "valueEdit"}}) {
            QTest::keyClick(editor, key, Qt::AltModifier);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), control);
        }
        QTest::keyClicks(QApplication::focusWidget(), "0x1FF");
        auto* width = editor->findChild<QComboBox*>("widthCombo");
        width->setFocus(Qt::TabFocusReason);
        QTest::keyClick(width, Qt::Key_Up);  // Byte (8-bit) cuts the value at once
        EXPECT_EQ(editor->findChild<QLineEdit*>("valueEdit")->text(), "0xFF");
        auto* access = editor->findChild<QComboBox*>("accessCombo");
        access->setCurrentIndex(0);  // Read, without a pick: applied when the list is left
        access->setFocus(Qt::TabFocusReason);
        QTest::keyClick(access, Qt::Key_Tab);
        EXPECT_FALSE(editor->findChild<QWidget*>("maskEdit")->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.EditStep({}),
              (StepEditorFields{"Read", "Byte (8-bit)", "CFG", "0x00000000", "0x00", "0xFF"}));
    WhenModal([](QDialog* editor) { QTest::keyClick(editor, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.EditStep({}), std::nullopt);
}

TEST_F(DialogWiring, FunctionChooser) {
    WhenModal([](QDialog* chooser) {
        QTest::keyClick(chooser->findChild<QWidget*>("functionCombo"), Qt::Key_Down);
        QTest::keyClick(chooser, Qt::Key_Return);  // OK is the default button
    });
    EXPECT_EQ(dialogs.ChooseFunction({"F0 (0x0001)", "F1 (0x0002)", "F2 (0x0003)"}), 1);
    WhenModal([](QDialog* d) { d->findChild<QAbstractButton*>("cancelButton")->click(); });
    EXPECT_EQ(dialogs.ChooseFunction({"A (1)", "B (2)"}), std::nullopt);
}

// The filter field has the focus; typing filters, Up and Down move from the field, Enter
// chooses; "Show all devices" by its mnemonic; a double click chooses; an empty list says why.
TEST_F(DialogWiring, AttachedDevicePicker) {
    WhenModal([](QDialog* dialog) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "filterEdit");
        EXPECT_LE(dialog->width(), DialogUnitsX(dialog, 325));
        QTest::keyClicks(QApplication::focusWidget(), "intel");
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.ChooseAttachedDevice(SampleDeviceTable()), 1u);
    WhenModal([](QDialog* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>("deviceList");
        QTest::keyClicks(QApplication::focusWidget(), "8086:1237");
        EXPECT_FALSE(list->isVisible());
        EXPECT_EQ(dialog->findChild<QLabel*>("emptyText")->text(), "No device matches the filter.");
        QTest::keyClick(dialog, Qt::Key_A, Qt::AltModifier);  // clicks after a short delay
        EXPECT_TRUE(QTest::qWaitFor([list] {
            return list->topLevelItemCount() == 1 && list->isVisible() &&
                   list->visualItemRect(list->topLevelItem(0)).isValid();
        }));
        const QPoint row = list->visualItemRect(list->topLevelItem(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    });
    EXPECT_EQ(dialogs.ChooseAttachedDevice(SampleDeviceTable()), 0u);
}

// The chooser opens at the nearest existing folder and gives the one chosen.
TEST_F(DialogWiring, FolderBrowser) {
    const std::string start = GoldenPath("a-folder-not-there-yet/with-a-rather-long-name");
    files.AddDirectory(TESSALY_GOLDEN_DIR);
    WhenModal<QFileDialog>([start](QFileDialog* browser) {
        EXPECT_EQ(browser->directory().absolutePath(), TESSALY_GOLDEN_DIR);
        EXPECT_EQ(browser->findChild<QLabel*>("statusText")->text(),
                  FromPath(ShortenStatusText(start)));
        static_cast<QDialog*>(browser)->accept();
    });
    EXPECT_EQ(dialogs.ChooseFolder(start), TESSALY_GOLDEN_DIR);
    WhenModal([](QDialog* modal) { modal->reject(); });
    EXPECT_EQ(dialogs.ChooseFolder(start), std::nullopt);
}

// The open-file dialog takes its types in Qt's form; questions carry the caption and give the
// answer; message texts are UTF-8 when they are, else Latin-1.
TEST_F(DialogWiring, OpenFileAndMessages) {
    WhenModal<QFileDialog>([](QFileDialog* open) {
        EXPECT_EQ(open->windowTitle(), "Open Module Description File");
        EXPECT_EQ(open->nameFilters(),
                  (QStringList{"Module Description Files (*.ini)", "All Files (*)"}));
        open->reject();
    });
    EXPECT_EQ(dialogs.ChooseFileToOpen(
                  {"Open Module Description File",
                   {{"Module Description Files (*.ini)", {"*.ini"}}, {"All Files (*.*)", {"*.*"}}},
                   "ini"}),
              std::nullopt);
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
}

}  // namespace
}  // namespace tessaly::testing
