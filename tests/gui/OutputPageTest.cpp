#include <QLabel>
#include <QPlainTextEdit>

#include "resources/StringTable.h"
#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

using OutputPage = WizardHarness;

const std::string kPrefixMessage =
    "All VXIplug&play compliant instrument drivers must limit the instrument prefix to 31 "
    "characters.\nIn addition, the characters must be valid in the context of a filename.";

QString FileList(const WizardHarness& h) {
    return h.sheet->findChild<QPlainTextEdit*>("fileListText")->toPlainText();
}

QString PxiList(const QString& directory, const QString& prefix) {
    const QString base = directory + "/";
    return base + prefix.left(5) + "_RT.inf\n" + base + prefix + "_9x.inf\n" + base + prefix +
           "_NT4.inf\n" + base + prefix + "_NT5.inf\n" + base + prefix + ".ini";
}

TEST_F(OutputPage, ShowsTheBusInTitleLabelNoteAndList) {
    const struct {
        int bus;
        const char* title;
        const char* label;
        std::string_view note;
        QString list;
    } cases[] = {
        {kBusPxi, "Tessaly Wizard - PXI - Output Files", "PXI Instrument &Prefix",
         strings::kPxiDistributionNote, PxiList("/vxipnp/winnt/prefix", "prefix")},
        {kBusUsb, "Tessaly Wizard - USB - Output Files", "USB Instrument &Prefix",
         strings::kUsbDistributionNote, "/vxipnp/winnt/prefix/prefix_WDM.inf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        model = WizardModel{};
        model.device.BusType = c.bus;
        Open(kPageFinal);
        EXPECT_EQ(sheet->windowTitle(), c.title);
        EXPECT_EQ(Find<QLabel>("prefixLabel")->text(), c.label);
        EXPECT_EQ(Find<QLabel>("noteText")->text().toStdString(), c.note);
        EXPECT_EQ(Text("prefixEdit"), "prefix");
        EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/prefix");
        EXPECT_EQ(FileList(*this), c.list);
        sheet.reset();
    }
}

TEST_F(OutputPage, DirectoryAndListFollowEveryKeystrokeOfThePrefix) {
    Open(kPageFinal);
    Type("prefixEdit", "");
    EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/");
    const QString typed = "abcdefgh";
    for (int i = 1; i <= typed.size(); ++i) {
        QTest::keyClick(Find("prefixEdit"), typed[i - 1].toLatin1());
        const QString prefix = typed.left(i);
        EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/" + prefix);
        EXPECT_EQ(FileList(*this), PxiList("/vxipnp/winnt/" + prefix, prefix));
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(OutputPage, InvalidPrefixIsResetWhenTheFieldIsLeft) {
    Open(kPageFinal);
    Type("prefixEdit", "a b");
    EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/a b");  // the list follows the typing
    EXPECT_EQ(FileList(*this), PxiList("/vxipnp/winnt/a b", "a b"));
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Tab);
    EXPECT_EQ(prompter.messages,
              (std::vector<RecordingPrompter::Message>{{kPrefixMessage, MessageIcon::Stop}}));
    EXPECT_EQ(Text("prefixEdit"), "prefix");
    EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/prefix");
    EXPECT_EQ(FileList(*this), PxiList("/vxipnp/winnt/prefix", "prefix"));
}

TEST_F(OutputPage, PrefixLengthLimit) {
    Open(kPageFinal);
    const QString longest(31, 'p');
    Type("prefixEdit", longest);
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Tab);
    EXPECT_EQ(Text("prefixEdit"), longest);
    EXPECT_TRUE(prompter.messages.empty());
    Type("prefixEdit", longest + "p");
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Tab);
    EXPECT_EQ(Text("prefixEdit"), "prefix");
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(OutputPage, EnterWithAnInvalidPrefixShowsTheMessageAndWritesNothing) {
    Open(kPageFinal);
    Type("prefixEdit", "bad=prefix");
    QTest::keyClick(Find("prefixEdit"), Qt::Key_Return);
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{kPrefixMessage});
    EXPECT_EQ(Text("prefixEdit"), "prefix");
    EXPECT_TRUE(fake.files.FileNames().empty());
}

TEST_F(OutputPage, AnEditedDirectoryNoLongerFollowsThePrefix) {
    Open(kPageFinal);
    Type("directoryEdit", "/data/out");
    EXPECT_EQ(FileList(*this), PxiList("/data/out", "prefix"));
    Type("prefixEdit", "abc");
    EXPECT_EQ(Text("directoryEdit"), "/data/out");
    EXPECT_EQ(FileList(*this), PxiList("/data/out", "abc"));
    // Back in the default form (base directory and the prefix it was formed with) it follows.
    Type("directoryEdit", "/vxipnp/winnt/prefix");
    Type("prefixEdit", "xyz");
    EXPECT_EQ(Text("directoryEdit"), "/vxipnp/winnt/xyz");
}

TEST_F(OutputPage, BrowseReplacesTheDirectoryOnlyWhenConfirmed) {
    Open(kPageFinal);
    prompter.folderChoices = {std::string("/data/chosen"), std::nullopt};
    Click("browseButton");
    EXPECT_EQ(prompter.folderDialogs, std::vector<std::string>{"/vxipnp/winnt/prefix"});
    EXPECT_EQ(Text("directoryEdit"), "/data/chosen");
    EXPECT_EQ(FileList(*this), PxiList("/data/chosen", "prefix"));
    Click("browseButton");
    EXPECT_EQ(prompter.folderDialogs.back(), "/data/chosen");
    EXPECT_EQ(Text("directoryEdit"), "/data/chosen");
}

TEST_F(OutputPage, NextWritesIntoTheDirectoryOfTheFields) {
    fake.files.AddDirectory("/data/out");
    Open(kPageFinal);
    Type("directoryEdit", "/data/out");
    Type("prefixEdit", "dev");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageAfterSaveAction);
    EXPECT_EQ(fake.files.FileNames(),
              (std::vector<std::string>{"/data/out/dev.ini", "/data/out/dev_9x.inf",
                                        "/data/out/dev_NT4.inf", "/data/out/dev_NT5.inf",
                                        "/data/out/dev_RT.inf"}));
}

TEST_F(OutputPage, UsbGenerationWritesTheWdmInf) {
    model.device.BusType = kBusUsb;
    fake.files.AddDirectory("/vxipnp/winnt/prefix");
    Open(kPageFinal);
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageAfterSaveAction);
    EXPECT_EQ(fake.files.FileNames(),
              std::vector<std::string>{"/vxipnp/winnt/prefix/prefix_WDM.inf"});
}

}  // namespace
}  // namespace tessaly::testing
