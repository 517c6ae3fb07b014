#include <QLabel>
#include <QPlainTextEdit>

#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

constexpr const char* kPrefixMessage =
    "All VXIplug&play compliant instrument drivers must limit the instrument prefix to 31 "
    "characters.\nIn addition, the characters must be valid in the context of a filename.";

struct OutputPage : WizardHarness {
    QString FileList() const { return Find<QPlainTextEdit>("fileListText")->toPlainText(); }
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

}  // namespace
}  // namespace tessaly::testing
