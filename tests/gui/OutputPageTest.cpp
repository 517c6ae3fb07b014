#include <QLabel>
#include <QPlainTextEdit>

#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

class OutputPage : public WizardHarness {
protected:
    QString FileList() const { return Find<QPlainTextEdit>("fileListText")->toPlainText(); }
    static QString PxiList(const QString& directory, const QString& prefix) {
        return QString("%1/%3_RT.inf\n%1/%2_9x.inf\n%1/%2_NT4.inf\n%1/%2_NT5.inf\n%1/%2.ini")
            .arg(directory, prefix, prefix.left(5));
    }
};

// Every activation takes the bus anew: back through page 1 to USB changes label, note and list.
TEST_F(OutputPage, ShowsTheBusOfPage1) {
    Open(kPageFinal);
    EXPECT_EQ(Find<QLabel>("prefixLabel")->text(), "PXI Instrument &Prefix");
    EXPECT_EQ(Find<QLabel>("noteText")->text().toStdString(), strings::kPxiDistributionNote);
    EXPECT_EQ(FileList(), PxiList("/vxipnp/winnt/prefix", "prefix"));
    Back();
    Back();
    Click("usbRadio");
    Next();
    Next();
    EXPECT_EQ(Find<QLabel>("prefixLabel")->text(), "USB Instrument &Prefix");
    EXPECT_EQ(Find<QLabel>("noteText")->text().toStdString(), strings::kUsbDistributionNote);
    EXPECT_EQ(FileList(), "/vxipnp/winnt/prefix/prefix_WDM.inf");
}

TEST_F(OutputPage, DirectoryAndListFollowEveryKeystrokeOfThePrefix) {
    Open(kPageFinal);
    QString prefix = "prefix";
    for (const char c : {'a', 'b', 'c'}) {
        QTest::keyClick(Find("prefixEdit"), c);
        prefix += c;
        EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/" + prefix);
        EXPECT_EQ(FileList(), PxiList("/vxipnp/winnt/" + prefix, prefix));
    }
    // A prefix the rules refuse is kept while typed, reset when the field is left or on Enter.
    Type("prefixEdit", "a b");
    EXPECT_EQ(FileList(), PxiList("/vxipnp/winnt/a b", "a b"));
    Leave("prefixEdit");
    EXPECT_EQ(FileList(), PxiList("/vxipnp/winnt/prefix", "prefix"));
    Type("prefixEdit", "bad=prefix");
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Return);
    EXPECT_EQ(Page(), kPageFinal);
    EXPECT_EQ(Text("prefixEdit"), "prefix");
    EXPECT_TRUE(fake.files.FileNames().empty());
    const std::string message =
        "All VXIplug&play compliant instrument drivers must limit the instrument prefix to 31 "
        "characters.\nIn addition, the characters must be valid in the context of a filename.";
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{message, message}));
}

// An edited directory keeps its place; Browse replaces it only when confirmed.
TEST_F(OutputPage, DirectoryIsTypedOrChosenAndNextWritesThere) {
    fake.files.AddDirectory("/data");
    prompter.folderChoices = {std::nullopt, std::string("/data/new")};
    prompter.yesNoAnswers = {false, true};  // create the directory: not at first
    Open(kPageFinal);
    Type("directoryEdit", "/data/out");
    Type("prefixEdit", "dev");
    EXPECT_EQ(FileList(), PxiList("/data/out", "dev"));
    Click("browseButton");
    Click("browseButton");
    EXPECT_EQ(prompter.folderDialogs, (std::vector<std::string>{"/data/out", "/data/out"}));
    EXPECT_EQ(FileList(), PxiList("/data/new", "dev"));
    Next();
    EXPECT_TRUE(fake.files.FileNames().empty());
    Next();
    EXPECT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/data/new/dev_NT5.inf"));
}

}  // namespace
}  // namespace tessaly::testing
