#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

#include "app/HelpViewer.h"
#include "app/QtPrompter.h"
#include "modulefile/FunctionSelectDialog.h"
#include "output/DirectoryBrowser.h"
#include "tests/fakes/TempDir.h"
#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

// Runs `act` on the modal dialog once it is up, from inside its event loop.
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

TEST(QtFileFiltersTest, ConvertsThePipeFormToQtFilters) {
    EXPECT_EQ(QtFileFilters("Module Description Files (*.ini)|*.ini|All Files (*.*)|*.*||"),
              (QStringList{"Module Description Files (*.ini)", "All Files (*)"}));
    EXPECT_EQ(QtFileFilters("Texts|*.txt;*.log||"), QStringList{"Texts (*.txt *.log)"});
    EXPECT_EQ(QtFileFilters(""), QStringList{});
    EXPECT_EQ(QtFileFilters("Dangling|"), QStringList{"Dangling ()"});
}

TEST(QtPrompterTest, MessageTextsKeepPathsAndLatin1Bytes) {
    EXPECT_EQ(MessageText("plain"), "plain");
    EXPECT_EQ(MessageText("/home/j\xc3\xb6rg"), QString::fromUtf8("/home/j\u00f6rg"));
    EXPECT_EQ(MessageText("Caf\xe9"), QString::fromUtf8("Caf\u00e9"));
}

TEST(FunctionSelectDialogTest, ListsEveryTerminatedEntry) {
    EXPECT_EQ(CFunctionSelectDialog::ItemsFromList("Function0 (0x1234);Function1 (Reg);"),
              (QStringList{"Function0 (0x1234)", "Function1 (Reg)"}));
    EXPECT_EQ(CFunctionSelectDialog::ItemsFromList("A (x);;B (y);"),
              (QStringList{"A (x)", "", "B (y)"}));
    EXPECT_EQ(CFunctionSelectDialog::ItemsFromList("A (x);B (y)"), QStringList{"A (x)"});
    EXPECT_EQ(CFunctionSelectDialog::ItemsFromList(""), QStringList{});
}

TEST(FunctionSelectDialogTest, ChoosingTheSecondFunctionReturnsItsPosition) {
    QtPrompter prompter;
    WhenModal([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "ZEL-VISA PXI Combination Module Device Selection");
        auto* combo = modal->findChild<QComboBox*>("functionCombo");
        ASSERT_NE(combo, nullptr);
        EXPECT_FALSE(combo->isEditable());
        ASSERT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_EQ(combo->itemText(1), "Function1Device0 (0x0002)");
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Return);  // OK is the default button
    });
    EXPECT_EQ(prompter.ChooseFunction("Function0 (0x0001);Function1Device0 (0x0002);"
                                      "Function2 (0x0003);"),
              1);

    WhenModal([](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    EXPECT_EQ(prompter.ChooseFunction("A (1);B (2);"), std::nullopt);

    WhenModal([](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    EXPECT_EQ(prompter.ChooseFunction("A (1);B (2);"), 0);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST(QtPrompterTest, MessageBoxesCarryTheTitleAndIcon) {
    QtPrompter prompter;
    const struct {
        MessageIcon icon;
        QMessageBox::Icon shown;
    } cases[] = {{MessageIcon::Stop, QMessageBox::Critical},
                 {MessageIcon::Exclamation, QMessageBox::Warning},
                 {MessageIcon::None, QMessageBox::NoIcon}};
    for (const auto& c : cases) {
        WhenModal([&c](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Tessaly Wizard");
            EXPECT_EQ(box->icon(), c.shown);
            EXPECT_EQ(box->text(), "Unable to create directory");
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            box->button(QMessageBox::Ok)->click();
        });
        prompter.ShowMessage("Unable to create directory", c.icon);
    }
    for (const bool yes : {true, false}) {
        WhenModal([yes](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(prompter.AskYesNo("Create it?"), yes);
    }
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST(DirectoryBrowserTest, StartsAtTheInitialFolderAndShortensTheStatus) {
    TempDir dir;
    const std::filesystem::path folder = dir.path() / "a-folder-with-a-rather-long-name";
    std::filesystem::create_directories(folder);
    const std::string initial = folder.string();
    ASSERT_GT(initial.size(), 35u);

    CDirectoryBrowser browser(initial, nullptr);
    EXPECT_EQ(browser.StatusText().toStdString(), initial.substr(0, 35) + "...");
    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    ASSERT_EQ(browser.Show(), 1);
    EXPECT_EQ(browser.ChosenPath(), initial);

    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(browser.Show(), 2);
}

TEST(DirectoryBrowserTest, ShortFoldersShowWhole) {
    CDirectoryBrowser browser("/tmp", nullptr);
    EXPECT_EQ(browser.StatusText(), "/tmp");
    // A folder that does not exist yet still starts the dialog at its nearest parent.
    CDirectoryBrowser missing("/tmp/no/such/folder/yet", nullptr);
    EXPECT_EQ(QDir(missing.directory()).absolutePath(), QDir("/tmp").absolutePath());
}

using HelpTest = WizardHarness;

TEST_F(HelpTest, HelpKeyOpensThePageTopicAtTheFocusedControl) {
    Open(kPageWelcomePxi);
    Find("manufCodeEdit")->setFocus();
    QTest::keyClick(Find("manufCodeEdit"), Qt::Key_F1);
    auto* viewer = sheet->findChild<HelpViewer*>("helpViewer");
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->topic().toString(), "qrc:/help/page110.html#manufCodeEdit");
    EXPECT_TRUE(viewer->findChild<QTextBrowser*>("helpBrowser")
                    ->toPlainText()
                    .contains("PXI Manufacturer ID"));

    Back();
    Click("helpButton");
    EXPECT_EQ(viewer->topic().toString(), "qrc:/help/page102.html");
    EXPECT_TRUE(
        viewer->findChild<QTextBrowser*>("helpBrowser")->toPlainText().contains("Hardware Bus"));
}

TEST_F(HelpTest, EveryPageHasAHelpTopic) {
    for (const PageId page : kPageOrder) {
        Open(page);
        Click("helpButton");
        auto* browser = sheet->findChild<QTextBrowser*>("helpBrowser");
        ASSERT_NE(browser, nullptr);
        EXPECT_FALSE(browser->toPlainText().isEmpty()) << page;
        sheet.reset();
    }
}

TEST_F(HelpTest, SheetHasTheIconAndNoCloseBox) {
    Open();
    EXPECT_FALSE(sheet->windowIcon().isNull());
    EXPECT_FALSE(sheet->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(sheet->windowFlags() & Qt::WindowCloseButtonHint);
}

}  // namespace
}  // namespace tessaly::testing
