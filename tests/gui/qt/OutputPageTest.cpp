#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>

#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

struct OutputPage : WizardHarness {
    QString FileList() const { return Find<QPlainTextEdit>("fileListText")->toPlainText(); }
    // The warnings shown under the list; empty while the area is hidden.
    QString Warnings() const {
        return Find("hazardArea")->isVisible() ? Find<QPlainTextEdit>("hazardText")->toPlainText()
                                               : QString();
    }
    // Types text beyond ASCII, which QTest::keyClicks cannot.
    void TypeText(const char* field, const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, Find(field), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
    // The PXI files for the prefix, in the default directory unless another is given.
    static QString PxiList(const QString& prefix, QString dir = {}) {
        return QString("%1/%3_RT.inf\n%1/%2_9x.inf\n%1/%2_NT4.inf\n%1/%2_NT5.inf\n%1/%2.ini")
            .arg(dir.isEmpty() ? "/vxipnp/winnt/" + prefix : dir, prefix, prefix.left(5));
    }
};

// Page 6 takes the bus anew on every activation: label and list.
TEST_F(OutputPage, FollowsTheBusChosenOnPage1) {
    Open();
    for (const bool usb : {true, false}) {
        Click(usb ? "usbRadio" : "pxiRadio");
        Next();
        Next();
        EXPECT_EQ(Find<QLabel>("prefixLabel")->text(),
                  usb ? "USB Instrument &Prefix" : "PXI Instrument &Prefix");
        EXPECT_EQ(FileList(), usb ? "/vxipnp/winnt/prefix/prefix_WDM.inf" : PxiList("prefix"));
        Back();
        Back();
    }
}

// The directory follows every keystroke of the prefix until it is edited. A refused prefix is
// kept while typed and reset, with the message, when the field is left or on Enter. Browse
// replaces the directory only when confirmed; Next stays while the directory is not created.
TEST_F(OutputPage, DirectoryFollowsThePrefixUntilEditedAndNextWritesThere) {
    prompter.folderChoices = {std::nullopt, std::string("/vxipnp/new")};
    prompter.yesNoAnswers = {false, true};
    Open(kPageFinal);
    for (const QString prefix : {"prefixa", "prefixab"}) {
        QTest::keyClick(Find("prefixEdit"), prefix.back().toLatin1());
        EXPECT_EQ(FileList(), PxiList(prefix));
    }
    TypeText("prefixEdit", QString::fromUtf8("\xC3\xA9"));  // Latin-1 in the files, UTF-8 here
    EXPECT_EQ(Text("directoryEdit"), QString::fromUtf8("/vxipnp/winnt/prefixab\xC3\xA9"));
    Type("directoryEdit", "/vxipnp/out");
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Return}) {
        Type("prefixEdit", "a b");
        EXPECT_EQ(FileList(), PxiList("a b", "/vxipnp/out"));
        QTest::keyClick(Find("prefixEdit"), key);
        EXPECT_EQ(FileList(), PxiList("prefix", "/vxipnp/out"));
    }
    EXPECT_EQ(prompter.Texts().size(), 2u);  // OutputPlanTest checks the message
    Click("browseButton");                   // still page 6 after Enter
    Click("browseButton");
    EXPECT_EQ(prompter.folderDialogs, (std::vector<std::string>{"/vxipnp/out", "/vxipnp/out"}));
    EXPECT_EQ(Text("directoryEdit"), "/vxipnp/new");
    Next();
    EXPECT_EQ(Page(), kPageFinal);
    Next();
    EXPECT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/new/prefix_NT5.inf"));
}

// The warnings area shows while a value makes one, in the list's spare room, and Next writes
// the files all the same. InfHazardsTest checks the texts.
TEST_F(OutputPage, WarningsFollowTheValuesAndNextStillWrites) {
    Open(kPageFinal);
    EXPECT_EQ(Warnings(), "");
    Type("prefixEdit", "a,b");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_LE(sheet->ActivePage()->minimumSizeHint().height(), sheet->ActivePage()->height());
    EXPECT_TRUE(Warnings().startsWith("InstrumentPrefix \"a,b\"")) << Warnings().toStdString();
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    EXPECT_EQ(Warnings(), "");
    Back();
    Type("modelNameEdit", "The \"Best\" Meter");
    Next();
    EXPECT_TRUE(Warnings().startsWith("ModelName")) << Warnings().toStdString();
    prompter.yesNoAnswers = {true};
    Next();
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/a/a_NT5.inf"));
}

// A character Latin-1 has not is refused, typed or pasted, with a note under the field that
// says which; the next accepted key takes the note away.
TEST_F(OutputPage, ACharacterBeyondLatin1IsRefusedWithANote) {
    Open(kPageFinal);
    const auto note = [this] { return sheet->findChild<QLabel*>("refusalNote"); };
    Find("prefixEdit")->setFocus();
    QGuiApplication::clipboard()->setText(
        QString::fromUtf8("x\xE2\x86\x92y\xE2\x86\x92\xF0\x9F\x98\x80"));
    for (const bool pasted : {false, true}) {
        if (pasted) {
            QTest::keyClick(Find("prefixEdit"), Qt::Key_V, Qt::ControlModifier);
        } else {
            TypeText("prefixEdit", QString::fromUtf8("\xE2\x82\xAC"));
        }
        EXPECT_EQ(Text("prefixEdit"), "prefix");
        ASSERT_TRUE(note() && note()->isVisible());
        const QString refused = pasted ? "\xE2\x86\x92\xF0\x9F\x98\x80" : "\xE2\x82\xAC";
        EXPECT_TRUE(note()->text().startsWith("\"" + refused + "\" cannot be used here"))
            << note()->text().toStdString();
        QTest::keyClick(Find("prefixEdit"), Qt::Key_End);
        QTest::keyClick(Find("prefixEdit"), 's');
        EXPECT_FALSE(note()->isVisible());
        QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    }
}

}  // namespace
}  // namespace tessaly::testing
