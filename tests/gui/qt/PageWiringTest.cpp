#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <future>

#include "tests/fakes/FakeSysfs.h"  // the sample ID databases
#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// One test per page: each kind of control reaches the page's presenter (typing, leaving a field,
// clicks, check boxes, lists, keys) and what the presenter says reaches the widgets. The rules
// themselves are the presenters' tables (tests/wizard/).
using PageWiring = WizardHarness;

TEST_F(PageWiring, BusPage) {
    Open();
    EXPECT_TRUE(Find<QRadioButton>("pxiRadio")->isChecked());
    Click("usbRadio");
    Next();
    EXPECT_EQ(Page(), kPageWelcomeUsb);
}

// Leaving an ID field by Tab or by Enter (which then presses Next) normalises it; a name field
// takes Latin-1 only, with a note; a pick fills long names showing their start.
TEST_F(PageWiring, PxiPage) {
    fake.devices.idFiles = {{"pci.ids", "1a2b  " + std::string(120, 'T') + "\n"}};
    fake.devices.pci = {{.address = "0000:00:0a.0", .vendorId = 0x1a2b, .deviceId = 0x0042}};
    dialogs.deviceChoices = {0};
    Open(kPageWelcomePxi);
    EXPECT_FALSE(Find("subsystemManufCodeLabel")->isEnabled());
    Click("usesSubsystemCheck");
    EXPECT_TRUE(Find("subsystemManufCodeLabel")->isEnabled());
    Type("subsystemModelCodeEdit", "-1");
    QTest::keyClick(Find("subsystemModelCodeEdit"), Qt::Key_Tab);
    EXPECT_EQ(Text("subsystemModelCodeEdit"), "0xFFFF");
    Type("manufCodeEdit", "0");
    QTest::keyClick(Find("manufCodeEdit"), Qt::Key_Return);
    EXPECT_EQ(Text("manufCodeEdit"), "0x0000");
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{std::string(strings::kManufacturerIdZero)}));

    QTest::keyClick(sheet.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(Focused(), "manufNameEdit");
    Type("manufNameEdit", " Caf");
    // Characters no key of the test keyboard has arrive as key events carrying their text.
    for (const QChar c : {QChar(0xE9), QChar(0x20AC)}) {
        QTest::sendKeyEvent(QTest::Click, Find("manufNameEdit"), Qt::Key_unknown, c, {});
    }
    EXPECT_EQ(model.device.ManufName, " Caf\xe9");
    const auto* note = sheet->findChild<QLabel*>("refusalNote");
    ASSERT_TRUE(note && note->isVisible());
    EXPECT_TRUE(note->text().startsWith(QString::fromUtf8("\"\xe2\x82\xac\" cannot be used")));

    QTest::keyClick(sheet.get(), Qt::Key_K, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialogs.deviceTables.size() == 1; }));
    EXPECT_EQ(Find<QLineEdit>("manufNameEdit")->cursorPosition(), 0);
    EXPECT_EQ(Text("manufNameEdit"), QString(120, 'T'));
    Click("loadModuleFileButton");
    EXPECT_EQ(dialogs.fileDialogs.size(), 1u);
}

// The compound box (Alt+C) enables the count, which takes digits only.
TEST_F(PageWiring, UsbPage) {
    Open(kPageWelcomeUsb);
    EXPECT_FALSE(Find("interfaceCountEdit")->isEnabled());
    Key(Qt::Key_C, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Find("interfaceCountEdit")->isEnabled(); }));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "interfaceCountEdit");
    Type("interfaceCountEdit", "9x9");
    EXPECT_EQ(Text("interfaceCountEdit"), "99");
    Next();
    EXPECT_EQ(model.device.InterfaceCount, 99);
}

// The sequence list by arrow keys, the buttons, a double click on a row, F2, Enter and Delete
// on the list; Alt+B adds a step before while the focus is in the page and goes Back from the
// sheet's buttons.
TEST_F(PageWiring, DetectionPage) {
    model.device.GeneratesInterrupts = true;
    model.device.DetectSequences = {{0, "C8 BAR0 0x10 0xFF 0x01;R8 CFG 0xC8;", 2},
                                    {1, "C8 CFG 0x6 0x08 0x08;", 1}};
    const StepEditorFields write{"Write", "Word (16-bit)", "BAR1", "4", "0", "0x8000"};
    dialogs.stepEdits = {write, write, std::nullopt, write};
    Open(kPageIsMine);
    auto* list = Find<QTreeWidget>("stepList");
    const auto rows = [list] { return list->topLevelItemCount(); };
    Find("sequenceCombo")->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Down);
    EXPECT_EQ(rows(), 1);
    Key(Qt::Key_Up);
    EXPECT_EQ(rows(), 2);
    Click("addAfterButton");
    EXPECT_EQ(rows(), 3);
    const QPoint row1 = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row1);
    EXPECT_EQ(list->topLevelItem(1)->text(0), "Write");
    Key(Qt::Key_F2);
    Key(Qt::Key_Return);  // cancelled
    EXPECT_EQ(dialogs.stepEditors.size(), 4u);
    Key(Qt::Key_Delete);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(model.device.DetectSequences.back().Steps,
              "C8 BAR0 0x10 0xFF 0x01;W16 BAR1 4 0x8000;");

    Key(Qt::Key_B, Qt::AltModifier);  // focus on the list
    EXPECT_TRUE(QTest::qWaitFor([this] { return dialogs.stepEditors.size() == 5; }));
    EXPECT_EQ(Page(), kPageIsMine);
    Find("nextButton")->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Page() == kPageWelcomePxi; }));
}

// With no row to edit, Enter on the list presses Next.
TEST_F(PageWiring, RemovalPage) {
    model.device.GeneratesInterrupts = true;
    Open(kPageSquelch);
    Find("stepList")->setFocus(Qt::TabFocusReason);
    Key(Qt::Key_Return);
    EXPECT_EQ(Page(), kPageFinal);
}

// Typing reaches the list and the warnings, which take the list's spare room; Browse asks for
// a folder; the package box adds its files to the list; a pasted character beyond Latin-1 is
// refused with its note.
TEST_F(PageWiring, OutputPage) {
    Open(kPageFinal);
    const auto list = [this] { return Find<QPlainTextEdit>("fileListText")->toPlainText(); };
    Type("prefixEdit", "a,b");
    EXPECT_TRUE(list().startsWith("/vxipnp/winnt/a,b/a,b_RT.inf\n")) << list().toStdString();
    EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/a,b");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_TRUE(Find("hazardArea")->isVisible());
    EXPECT_LE(sheet->ActivePage()->minimumSizeHint().height(), sheet->ActivePage()->height());
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    EXPECT_FALSE(Find("hazardArea")->isVisible());
    Click("browseButton");
    EXPECT_EQ(dialogs.folderDialogs, std::vector<std::string>{"/vxipnp/winnt/a"});
    Key(Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list().endsWith("/vxipnp/winnt/a/package/a.cer"); }))
        << list().toStdString();

    Find("prefixEdit")->setFocus();
    QGuiApplication::clipboard()->setText(QString::fromUtf8("x\xE2\x86\x92y"));
    QTest::keyClick(Find("prefixEdit"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text("prefixEdit"), "a");
    const auto* note = sheet->findChild<QLabel*>("refusalNote");
    ASSERT_TRUE(note && note->isVisible());
    QTest::keyClick(Find("prefixEdit"), 's');
    EXPECT_FALSE(note->isVisible());
}

// The choices reach the buttons; installing shows the wait cursor meanwhile.
TEST_F(PageWiring, InstallationOptionsPage) {
    model.plan.Files.Nt5Inf = "/out/dev_NT5.inf";
    model.plan.WrittenFiles = {"/out/dev_NT5.inf"};
    model.plan.HardwareIds = {"PCI\\VEN_1A2B&DEV_0042"};
    fake.files.AddFile("/out/dev_NT5.inf", "inf");
    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");
    std::vector<Qt::CursorShape> cursors;
    fake.plugAndPlay.duringUpdate = [&cursors] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursors.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
    };
    Open(kPageAfterSaveAction);
    Click("ftpChoice");
    EXPECT_EQ(Shown(), "back next");
    Click("installChoice");
    EXPECT_EQ(Shown(), "back finish");
    Click("finishButton");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(cursors, std::vector{Qt::WaitCursor});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Alt reaches each field; while the transfer runs on its worker thread the window repaints,
// shows the wait cursor and ignores Escape, Cancel and closing.
TEST_F(PageWiring, FtpPage) {
    model.plan.Files.RtInf = "/out/abcde_RT.inf";
    Open(kPageUseFtp);
    EXPECT_EQ(Text("remoteFileEdit"), "/zel-rt/system/abcde_RT.inf");
    EXPECT_EQ(Find<QLineEdit>("passwordEdit")->echoMode(), QLineEdit::Password);
    for (const auto& [key, field] : {std::pair{Qt::Key_U, "userNameEdit"},
                                     {Qt::Key_P, "passwordEdit"},
                                     {Qt::Key_H, "hostNameEdit"}}) {
        QTest::keyClick(sheet.get(), key, Qt::AltModifier);
        EXPECT_EQ(Focused(), field);
        QTest::keyClicks(QApplication::focusWidget(), "x");
    }
    EXPECT_EQ(Shown(), "back finish");
    std::promise<void> release;
    fake.ftp.whileConnecting = [released = release.get_future().share()] {
        released.wait_for(std::chrono::seconds(30));
    };
    PaintCounter counter;
    QWidget* host = Find("hostNameEdit");
    host->installEventFilter(&counter);
    bool checked = false;
    QTimer::singleShot(0, sheet.get(), [&] {
        const int paintsBefore = counter.paints;
        host->update();
        QTimer::singleShot(100, sheet.get(), [&, paintsBefore] {
            EXPECT_GT(counter.paints, paintsBefore);
            EXPECT_FALSE(sheet->isEnabled());
            EXPECT_TRUE(QApplication::overrideCursor() &&
                        QApplication::overrideCursor()->shape() == Qt::WaitCursor);
            QTest::keyClick(sheet.get(), Qt::Key_Escape);
            QTest::mouseClick(Find("cancelButton"), Qt::LeftButton);
            sheet->close();
            sheet->reject();
            EXPECT_TRUE(sheet->isVisible());
            checked = true;
            release.set_value();
        });
    });
    Click("finishButton");
    EXPECT_TRUE(checked);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(fake.ftp.logins, (std::vector<FakeFtpClient::Login>{{"x", 21, "x", "x"}}));
}

}  // namespace
}  // namespace tessaly::testing
