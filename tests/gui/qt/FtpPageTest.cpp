#include <QCursor>
#include <QTimer>
#include <chrono>
#include <future>

#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

using FtpPage = WizardHarness;

TEST_F(FtpPage, FinishNeedsAHostAndAltReachesEachField) {
    model.plan.Files.RtInf = "/vxipnp/winnt/abcdefgh/abcde_RT.inf";
    Open(kPageUseFtp);
    EXPECT_EQ(Text("localFileEdit"), "/vxipnp/winnt/abcdefgh/abcde_RT.inf");
    EXPECT_TRUE(Find<QLineEdit>("remoteFileEdit")->isReadOnly());
    EXPECT_EQ(Find<QLineEdit>("passwordEdit")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Shown(), "back (finish)");
    const std::tuple<Qt::Key, const char*, const char*> fields[] = {
        {Qt::Key_H, "hostNameEdit", "r"},
        {Qt::Key_U, "userNameEdit", "me"},
        {Qt::Key_P, "passwordEdit", "pw"},
    };
    for (const auto& [key, field, text] : fields) {
        QTest::keyClick(sheet.get(), key, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), Find(field)) << field;
        QTest::keyClicks(QApplication::focusWidget(), text);
        EXPECT_EQ(Text(field), text);
    }
    EXPECT_EQ(Shown(), "back finish");
    QTest::keyClick(Find("hostNameEdit"), Qt::Key_Backspace);
    EXPECT_EQ(Shown(), "back (finish)");
    EXPECT_TRUE(fake.ftp.logins.empty());
}

// A refused entry or a failed transfer keeps the page with what was typed, also across Back and
// Next; the success message closes the wizard.
TEST_F(FtpPage, FailuresKeepThePageAndItsEntriesAndSuccessCloses) {
    model.plan.Files.RtInf = "/out/abcde_RT.inf";
    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");  // offers the FTP choice
    Open(kPageUseFtp);
    Type("hostNameEdit", "rt-target:2121");
    Type("passwordEdit", "pw");
    Click("finishButton");
    EXPECT_TRUE(fake.ftp.logins.empty());
    Type("userNameEdit", "me");
    fake.ftp.connectError = FtpError::LoginFailure;
    Click("finishButton");
    fake.ftp.connectError = FtpError::None;
    fake.ftp.uploadSucceeds = false;
    Click("finishButton");
    EXPECT_EQ(prompter.messages.size(), 3u);  // FtpTransferTest checks the texts
    EXPECT_EQ(Page(), kPageUseFtp);
    EXPECT_EQ(Shown(), "back finish");

    Back();
    Click("ftpChoice");
    Next();
    EXPECT_EQ(Page(), kPageUseFtp);
    EXPECT_EQ(Text("hostNameEdit") + Text("userNameEdit") + Text("passwordEdit"),
              "rt-target:2121mepw");
    fake.ftp.uploadSucceeds = true;
    Click("finishButton");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(fake.ftp.logins,
              std::vector<FakeFtpClient::Login>(3, {"rt-target", 2121, "me", "pw"}));
    EXPECT_EQ(fake.ftp.uploads.back(),
              (FakeFtpClient::Upload{"/out/abcde_RT.inf", "/zel-rt/system/abcde_RT.inf"}));
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

// While the transfer runs on its worker thread the window repaints, shows the wait cursor and
// ignores Escape, Cancel and closing.
TEST_F(FtpPage, TheWindowPaintsButTakesNoInputWhileTheTransferRuns) {
    Open(kPageUseFtp);
    Type("hostNameEdit", "rt-target");
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
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"Successfully copied .INF file over FTP to rt-target"});
}

}  // namespace
}  // namespace tessaly::testing
