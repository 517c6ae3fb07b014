#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <functional>

#include "tests/gui/WizardHarness.h"

// Failure messages show the text, not its UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tessaly::testing {
namespace {

constexpr const char* kPrefixMessage =
    "All VXIplug&play compliant instrument drivers must limit the instrument prefix to 31 "
    "characters.\nIn addition, the characters must be valid in the context of a filename.";

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
    // The files under `folder`, by name.
    std::vector<std::string> FilesIn(const std::string& folder) const {
        std::vector<std::string> names;
        for (const std::string& path : fake.files.FileNames()) {
            if (path.rfind(folder + "/", 0) == 0) {
                names.push_back(path.substr(folder.size() + 1));
            }
        }
        return names;
    }
    // The PXI files for the prefix, in the default directory unless another is given.
    static QString PxiList(const QString& prefix, QString dir = {}) {
        return QString("%1/%3_RT.inf\n%1/%2_9x.inf\n%1/%2_NT4.inf\n%1/%2_NT5.inf\n%1/%2.ini")
            .arg(dir.isEmpty() ? "/vxipnp/winnt/" + prefix : dir, prefix, prefix.left(5));
    }
};

// Page 1 reads the bus on every Next and page 6 takes it anew on every activation: label, note
// and list. Each bus page keeps its own names.
TEST_F(OutputPage, FollowsTheBusChosenOnPage1) {
    Open();
    for (const bool usb : {true, false}) {
        Click(usb ? "usbRadio" : "pxiRadio");
        Next();
        Type(usb ? "usbManufNameEdit" : "manufNameEdit", usb ? "Usb Maker" : "Pxi Maker");
        Next();
        EXPECT_EQ(Find<QLabel>("prefixLabel")->text(),
                  usb ? "USB Instrument &Prefix" : "PXI Instrument &Prefix");
        EXPECT_EQ(Find<QLabel>("noteText")->text().toStdString(),
                  usb ? strings::kUsbDistributionNote : strings::kPxiDistributionNote);
        EXPECT_EQ(FileList(), usb ? "/vxipnp/winnt/prefix/prefix_WDM.inf" : PxiList("prefix"));
        Back();
        Back();
    }
    EXPECT_EQ(model.device.UsbManufName, "Usb Maker");
}

// The directory follows every keystroke of the prefix until it is edited. A prefix the rules
// refuse is kept while typed and reset, with the prefix message, when the field is left or on
// Enter. Browse replaces the directory only when confirmed.
TEST_F(OutputPage, DirectoryFollowsThePrefixUntilEditedAndNextWritesThere) {
    prompter.folderChoices = {std::nullopt, std::string("/vxipnp/new")};
    prompter.yesNoAnswers = {false, true};  // create the directory: not at first
    Open(kPageFinal);
    for (const QString prefix : {"prefixa", "prefixab", "prefixabc"}) {
        QTest::keyClick(Find("prefixEdit"), prefix.back().toLatin1());
        EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/" + prefix);
        EXPECT_EQ(FileList(), PxiList(prefix));
    }
    Type("directoryEdit", "/vxipnp/out");
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Return}) {
        Type("prefixEdit", "a b");
        EXPECT_EQ(FileList(), PxiList("a b", "/vxipnp/out"));
        QTest::keyClick(Find("prefixEdit"), key);
        EXPECT_EQ(FileList(), PxiList("prefix", "/vxipnp/out"));
    }
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>(2, kPrefixMessage));
    Click("browseButton");  // still page 6 after Enter
    Click("browseButton");
    EXPECT_EQ(prompter.folderDialogs, (std::vector<std::string>{"/vxipnp/out", "/vxipnp/out"}));
    EXPECT_EQ(FileList(), PxiList("prefix", "/vxipnp/new"));
    Next();
    Next();  // the first Next stays: the directory is not created
    EXPECT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/new/prefix_NT5.inf"));
}

// A prefix beyond ASCII is Latin-1 in the files and UTF-8 in the paths: typed, the directory
// follows it key by key; Next writes into that folder, the field names it again after Back, the
// next Next writes there again, and page 7 opens it.
TEST_F(OutputPage, AnAccentedPrefixNamesOneFolder) {
    prompter.yesNoAnswers = {true};  // create the directory
    Open(kPageFinal);
    Find("prefixEdit")->setFocus();
    Find<QLineEdit>("prefixEdit")->selectAll();
    TypeText("prefixEdit", QString::fromUtf8("caf\xC3\xA9s"));
    const std::string folder = "/vxipnp/winnt/caf\xC3\xA9s";
    EXPECT_EQ(Text("directoryEdit"), QString::fromStdString(folder));
    EXPECT_EQ(FileList(), PxiList(QString::fromUtf8("caf\xC3\xA9s")));
    Next();
    ASSERT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_EQ(
        FilesIn(folder),
        (std::vector<std::string>{"caf\xC3\xA9s.ini", "caf\xC3\xA9s_9x.inf", "caf\xC3\xA9s_NT4.inf",
                                  "caf\xC3\xA9s_NT5.inf", "caf\xC3\xA9s_RT.inf"}));
    const std::string nt5 = fake.files.Contents(folder + "/caf\xC3\xA9s_NT5.inf");
    EXPECT_NE(nt5.find("\r\n[caf\xE9s.Cfg]\r\n"), std::string::npos);
    Back();
    EXPECT_EQ(Text("directoryEdit"), QString::fromStdString(folder));
    Next();
    ASSERT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_EQ(FilesIn("/vxipnp/winnt").size(), 5u);  // no second folder
    Click("openFolderChoice");
    Click("finishButton");
    EXPECT_EQ(fake.shell.openedFolders, std::vector<std::string>{folder});
    EXPECT_EQ(prompter.messages.size(), 1u);  // the question about the folder
}

// The warnings under the list follow the values: the prefix as it is typed, the names of
// page 2. Ordinary values show none, and Next writes the files as entered all the same.
TEST_F(OutputPage, WarningsFollowTheValuesAndNextStillWrites) {
    Open(kPageFinal);
    EXPECT_EQ(Warnings(), "");
    Type("prefixEdit", "a,b");
    // The page's room is fixed: the warning takes the list's spare room, and nothing is cut off.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_LE(sheet->ActivePage()->minimumSizeHint().height(), sheet->ActivePage()->height());
    EXPECT_TRUE(
        Warnings().startsWith("InstrumentPrefix \"a,b\" in a,b_RT.inf, a,b_9x.inf, "
                              "a,b_NT5.inf: a comma ends a field"))
        << Warnings().toStdString();
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    EXPECT_EQ(Warnings(), "");
    Back();
    Type("modelNameEdit", "The \"Best\" Meter");
    Next();
    EXPECT_EQ(Warnings(),
              "ModelName \"The \"Best\" Meter\" in a_RT.inf, a_9x.inf, a_NT4.inf, a_NT5.inf: a "
              "double quote ends the quoted text: readers take it as \"The Best Meter\".");
    prompter.yesNoAnswers = {true};
    Next();
    EXPECT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_NE(fake.files.Contents("/vxipnp/winnt/a/a_NT5.inf")
                  .find("\"ModelName\",0,\"The \"Best\" Meter\"\r\n"),
              std::string::npos);
}

// A character Latin-1 has not is refused, typed or pasted, with a note under the field that
// says which; the next accepted key takes the note away.
TEST_F(OutputPage, ACharacterBeyondLatin1IsRefusedWithANote) {
    Open(kPageFinal);
    const auto note = [this] { return sheet->findChild<QLabel*>("refusalNote"); };
    Find("prefixEdit")->setFocus();
    const struct {
        const char* name;
        std::function<void()> enter;
        QString refused;
    } inputs[] = {
        {"typed", [this] { TypeText("prefixEdit", QString::fromUtf8("\xE2\x82\xAC")); },
         QString::fromUtf8("\xE2\x82\xAC")},
        {"pasted",
         [this] {
             QGuiApplication::clipboard()->setText(
                 QString::fromUtf8("x\xE2\x86\x92y\xE2\x86\x92\xF0\x9F\x98\x80"));
             QTest::keyClick(Find("prefixEdit"), Qt::Key_V, Qt::ControlModifier);
         },
         QString::fromUtf8("\xE2\x86\x92\xF0\x9F\x98\x80")},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.name);
        input.enter();
        EXPECT_EQ(Text("prefixEdit"), "prefix");
        ASSERT_TRUE(note() && note()->isVisible());
        EXPECT_TRUE(note()->text().startsWith("\"" + input.refused + "\" cannot be used here"))
            << note()->text().toStdString();
        QTest::keyClick(Find("prefixEdit"), Qt::Key_End);
        QTest::keyClick(Find("prefixEdit"), 's');
        EXPECT_FALSE(note()->isVisible());
        QTest::keyClick(Find("prefixEdit"), Qt::Key_Backspace);
    }
}

}  // namespace
}  // namespace tessaly::testing
