#include <QCursor>
#include <QGuiApplication>

#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

using Nav = WizardHarness;

// The paths through the sheet; kPxiIrq has one complete detection sequence, kFreshIrq none yet.
enum Path { kPxi, kPxiIrq, kFreshIrq, kUsb };

// Pages numbered in sheet order: the title and buttons on activation, and the page Next and Back
// lead to (the same page: the button does nothing or is not offered).
TEST_F(Nav, EveryPageShowsItsButtonsAndLeadsOnAndBack) {
    const std::tuple<int, Path, const char*, const char*, int, int> rows[] = {
        {1, kPxi, "Hardware Bus", "(back) next", 2, 1},
        {1, kUsb, "Hardware Bus", "(back) next", 3, 1},
        {2, kPxi, "PXI - Basic Device Information", "back next", 6, 1},
        {2, kPxiIrq, "PXI - Basic Device Information", "back next", 4, 1},
        {3, kUsb, "USB - Basic Device Information", "back next", 6, 1},
        {4, kPxiIrq, "PXI - Interrupt Detection Information", "back next", 5, 2},
        {4, kFreshIrq, "PXI - Interrupt Detection Information", "back (next)", 4, 2},
        {5, kPxiIrq, "PXI - Interrupt Removal Information", "back next", 6, 4},
        {6, kPxi, "PXI - Output Files", "back next", 7, 2},
        {6, kPxiIrq, "PXI - Output Files", "back next", 7, 5},
        {6, kUsb, "USB - Output Files", "back next", 7, 3},
        {7, kPxi, "Installation Options", "back finish", 7, 6},
        {8, kPxi, "FTP ", "back (finish)", 8, 7},
    };
    for (const auto& [page, path, title, buttons, next, back] : rows) {
        for (const auto& [button, to] :
             {std::pair{"nextButton", next}, {"backButton", back}, {"cancelButton", 0}}) {
            SCOPED_TRACE(::testing::Message() << page << "/" << path << " " << button);
            model = WizardModel{};
            model.device.BusType = path == kUsb ? kBusUsb : kBusPxi;
            model.device.GeneratesInterrupts = path == kPxiIrq || path == kFreshIrq;
            model.device.DetectSequences.assign(path == kPxiIrq, {0, "C8 BAR0 0x0 0xFF 0x1;", 1});
            Open(kPageOrder[page - 1]);
            EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - " + QString(title));
            EXPECT_EQ(Shown(), buttons);
            if (Find(button)->isVisible()) {
                Click(button);
            }
            EXPECT_EQ(sheet->isVisible() ? Page() : 0, to ? kPageOrder[to - 1] : 0);  // 0: closed
            EXPECT_TRUE(prompter.messages.empty());  // Cancel asks nothing
        }
    }
}

// A failed or cancelled load leaves the page as it was. After a load, Next on page 2 without
// "View or change loaded settings" writes every file and jumps to page 7.
TEST_F(Nav, LoadedFileIsReviewedOrWrittenAtOnce) {
    // Cancelled, then a file without a module, then a module with interrupts.
    prompter.fileChoices = {std::nullopt, GoldenPath("pxi_demo_NT5.inf"),
                            GoldenPath("mdf_interrupts.ini")};
    AddGolden("pxi_demo_NT5.inf");
    AddGolden("mdf_interrupts.ini");
    prompter.yesNoAnswers = {true};
    Open(kPageWelcomePxi);
    Type("manufNameEdit", "Typed");
    for (int i = 0; i < 2; ++i) {
        Click("loadModuleFileButton");
        EXPECT_EQ(Text("manufNameEdit"), "Typed");
        EXPECT_FALSE(Find("viewLoadedSettingsCheck")->isEnabled());
    }
    Click("loadModuleFileButton");
    EXPECT_EQ(prompter.fileDialogs.back(),
              "Open Module Description File|Module Description "
              "Files (*.ini)|*.ini|All Files (*.*)|*.*|||ini");
    EXPECT_EQ(Text("manufNameEdit"), "Acme Instruments");
    Click("viewLoadedSettingsCheck");
    Next();
    EXPECT_EQ(Page(), kPageIsMine);  // the file has interrupts
    Back();
    Click("viewLoadedSettingsCheck");
    Next();
    EXPECT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/acme4321/acme4321_NT5.inf"));
    Back();  // page 6, shown for the first time
    EXPECT_EQ(Page(), kPageFinal);
    EXPECT_EQ(Text("prefixEdit"), "acme4321");
}

// Finish runs the action chosen and closes, installing under the wait cursor; FTP needs the
// real-time product and PXI, and turns Finish into Next.
TEST_F(Nav, ActionPageRunsTheChoiceOnFinishOrLeadsOnToFtp) {
    model.device.OutputDirectory = "/out";
    model.plan.Files.Nt5Inf = "/out/dev_NT5.inf";
    model.plan.WrittenFiles = {"/out/dev_NT5.inf"};  // as a generation leaves it
    model.plan.HardwareIds = {"PCI\\VEN_1A2B&DEV_0042"};
    fake.files.AddFile("/out/dev_NT5.inf", "inf");
    std::vector<Qt::CursorShape> cursors;
    fake.plugAndPlay.duringUpdate = [&cursors] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursors.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
    };
    for (const char* choice : {"installChoice", "openFolderChoice", "nothingChoice"}) {
        Open(kPageAfterSaveAction);
        EXPECT_FALSE(Find("ftpChoice")->isEnabled());  // no real-time product
        Click(choice);
        Click("finishButton");
        EXPECT_FALSE(sheet->isVisible());
    }
    EXPECT_EQ(fake.shell.openedFolders, std::vector<std::string>{"/out"});
    EXPECT_TRUE(fake.files.HasFile("/windows/inf/dev_NT5.inf"));
    EXPECT_FALSE(cursors.empty());
    EXPECT_EQ(std::ranges::count(cursors, Qt::WaitCursor), std::ssize(cursors));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");
    for (const int bus : {kBusUsb, kBusPxi}) {
        model.device.BusType = bus;
        Open(kPageAfterSaveAction);
        EXPECT_EQ(Find("ftpChoice")->isEnabled(), bus == kBusPxi);
    }
    Click("ftpChoice");
    EXPECT_EQ(Shown(), "back next");
    Click("openFolderChoice");
    EXPECT_EQ(Shown(), "back finish");
    Click("ftpChoice");
    Next();
    EXPECT_EQ(Page(), kPageUseFtp);
}

}  // namespace
}  // namespace tessaly::testing
