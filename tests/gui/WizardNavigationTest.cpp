#include <QCheckBox>
#include <QRadioButton>

#include "resources/StringTable.h"
#include "tests/fakes/TempDir.h"
#include "tests/gui/WizardHarness.h"

namespace tessaly::testing {
namespace {

using Nav = WizardHarness;

constexpr WizardHarness::Buttons kNextOnly{false, true, false, false};
constexpr WizardHarness::Buttons kBackNext{true, true, false, false};
constexpr WizardHarness::Buttons kBackOnly{true, false, false, false};
constexpr WizardHarness::Buttons kBackFinish{true, false, true, true};
constexpr WizardHarness::Buttons kBackDisabledFinish{true, false, false, true};

TEST_F(Nav, BusPageOffersNextOnlyAndChoosesTheDevicePage) {
    Open();
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - Hardware Bus");
    EXPECT_EQ(Shown(), kNextOnly);

    Next();  // untouched: PXI/PCI
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - PXI - Basic Device Information");
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcome);

    Click("usbRadio");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomeUsb);
    EXPECT_EQ(model.device.BusType, kBusUsb);
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - USB - Basic Device Information");
    Back();
    EXPECT_TRUE(Find<QRadioButton>("usbRadio")->isChecked());  // the last choice is kept
    Click("pxiRadio");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
    EXPECT_EQ(model.device.BusType, kBusPxi);
}

TEST_F(Nav, PxiPathVisitsTheInterruptPagesOnlyWhenAsked) {
    Open(kPageWelcomePxi);
    EXPECT_EQ(Shown(), kBackNext);
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    Back();  // without interrupts page 6 returns to page 2
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);

    Click("generatesInterruptsCheck");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageIsMine);
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - PXI - Interrupt Detection Information");
    // A fresh detection page holds one empty sequence: Back only.
    ASSERT_EQ(model.device.DetectSequences.size(), 1u);
    EXPECT_EQ(model.device.DetectSequences[0].Number, 0);
    EXPECT_EQ(Shown(), kBackOnly);
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
}

TEST_F(Nav, InterruptPagesLeadToTheOutputPageAndBack) {
    model.device.GeneratesInterrupts = true;
    model.device.DetectSequences = {{0, "C32 BAR0 0x0 0xFFFFFFFF 0x1;", 1}};
    Open(kPageIsMine);
    EXPECT_EQ(Shown(), kBackNext);
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageSquelch);
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - PXI - Interrupt Removal Information");
    EXPECT_EQ(Shown(), kBackNext);
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    Back();  // with interrupts: the removal page
    EXPECT_EQ(sheet->ActivePageId(), kPageSquelch);
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageIsMine);
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
}

TEST_F(Nav, DetectionPageWithAnIncompleteSequenceOffersBackOnly) {
    model.device.DetectSequences = {{0, "C8 BAR0 0x4 0xFF 0x1;", 1}, {1, "R8 BAR0 0x4;", 1}};
    Open(kPageIsMine);
    EXPECT_EQ(Shown(), kBackOnly);
    EXPECT_EQ(model.device.DetectSequences.size(), 2u);  // nothing added to a loaded list
}

TEST_F(Nav, UsbPathSkipsTheInterruptPages) {
    Open();
    Click("usbRadio");
    Next();
    EXPECT_EQ(Shown(), kBackNext);
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - USB - Output Files");
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomeUsb);
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcome);
}

TEST_F(Nav, OutputPageGeneratesThenOffersTheInstallationOptions) {
    Open(kPageFinal);
    EXPECT_EQ(Shown(), kBackNext);
    prompter.yesNoAnswers = {true};  // create /vxipnp/winnt/prefix
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/prefix/prefix_NT5.inf"));
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/prefix/prefi_RT.inf"));
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - Installation Options");
    EXPECT_EQ(Shown(), kBackFinish);
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
}

TEST_F(Nav, OutputPageStaysWhenTheDirectoryIsRefused) {
    Open(kPageFinal);
    prompter.yesNoAnswers = {false};
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Question);
    EXPECT_TRUE(fake.files.FileNames().empty());
}

TEST_F(Nav, FtpChoiceTurnsFinishIntoNext) {
    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");
    Open(kPageAfterSaveAction);
    ASSERT_TRUE(Find("ftpChoice")->isEnabled());
    EXPECT_EQ(Shown(), kBackFinish);
    Click("ftpChoice");
    EXPECT_EQ(Shown(), kBackNext);
    Click("openFolderChoice");
    EXPECT_EQ(Shown(), kBackFinish);
    Click("ftpChoice");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageUseFtp);
    EXPECT_EQ(sheet->windowTitle(), "Tessaly Wizard - FTP ");
    EXPECT_EQ(Shown(), kBackDisabledFinish);
    Type("hostNameEdit", "rt-target");
    EXPECT_EQ(Shown(), kBackFinish);
    Type("hostNameEdit", "");
    EXPECT_EQ(Shown(), kBackDisabledFinish);
    Back();
    EXPECT_EQ(sheet->ActivePageId(), kPageAfterSaveAction);
    EXPECT_EQ(Shown(), kBackNext);  // the FTP choice is still selected
}

TEST_F(Nav, FtpChoiceNeedsTheRealTimeProductAndPxi) {
    Open(kPageAfterSaveAction);  // no real-time product in the registry
    EXPECT_FALSE(Find("ftpChoice")->isEnabled());
    sheet.reset();

    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");
    model.device.BusType = kBusUsb;
    Open(kPageAfterSaveAction);
    EXPECT_FALSE(Find("ftpChoice")->isEnabled());
}

TEST_F(Nav, FinishRunsTheChosenActionAndCloses) {
    model.device.OutputDirectory = "/vxipnp/winnt/prefix";
    Open(kPageAfterSaveAction);
    Click("openFolderChoice");
    Finish();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(fake.shell.openedFolders, std::vector<std::string>{"/vxipnp/winnt/prefix"});
}

TEST_F(Nav, FinishWithTheInstallChoiceInstallsTheInf) {
    model.plan.Files.Nt5Inf = "/out/dev_NT5.inf";
    model.plan.HardwareIds = {"PCI\\VEN_1234&DEV_5678"};
    fake.files.AddFile("/out/dev_NT5.inf", "inf");
    Open(kPageAfterSaveAction);
    Finish();  // the install choice is the default
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(fake.files.HasFile("/windows/inf/dev_NT5.inf"));
    ASSERT_EQ(fake.plugAndPlay.updates.size(), 1u);
    EXPECT_EQ(fake.plugAndPlay.updates[0].first, "PCI\\VEN_1234&DEV_5678");
}

TEST_F(Nav, CancelClosesEveryPageAtOnceWithoutAQuestion) {
    for (const PageId page : kPageOrder) {
        SCOPED_TRACE(static_cast<int>(page));
        Open(page);
        const std::size_t shown = prompter.messages.size();
        Click("cancelButton");
        EXPECT_FALSE(sheet->isVisible());
        EXPECT_EQ(sheet->result(), QDialog::Rejected);
        EXPECT_EQ(prompter.messages.size(), shown);
        sheet.reset();
    }
    Open(kPageWelcomePxi);
    QTest::keyClick(sheet.get(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
}

TEST_F(Nav, EnterPressesNextAndFinish) {
    Open();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
    // Enter in a field: the field is finished first, as a click on Next would do.
    Type("manufCodeEdit", "0");
    QTest::keyClick(Find("manufCodeEdit"), Qt::Key_Return);
    EXPECT_EQ(sheet->ActivePageId(), kPageWelcomePxi);
    EXPECT_EQ(Text("manufCodeEdit"), "0x0000");
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{std::string(strings::kManufacturerIdZero)});
    sheet.reset();

    Open(kPageAfterSaveAction);
    Click("nothingChoice");
    QTest::keyClick(Find("nothingChoice"), Qt::Key_Return);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

TEST_F(Nav, LoadedFileWithoutReviewJumpsToTheInstallationOptions) {
    TempDir dir;
    const std::string path = dir.Write("card.ini",
                                       "[Module]\r\nModuleName=Card\r\nModuleVendor=Maker\r\n"
                                       "ManufCode=0x1234\r\nModelCode=0x5678\r\n"
                                       "VISARegistration=CardReg\r\n");
    prompter.fileChoices = {path};
    prompter.yesNoAnswers = {true};
    Open(kPageWelcomePxi);
    Click("loadModuleFileButton");
    EXPECT_EQ(prompter.fileDialogs,
              std::vector<std::string>{"Open Module Description File|Module Description Files "
                                       "(*.ini)|*.ini|All Files (*.*)|*.*|||ini"});
    EXPECT_EQ(Text("manufCodeEdit"), "0x1234");
    EXPECT_EQ(Text("modelNameEdit"), "Card");
    auto* review = Find<QCheckBox>("viewLoadedSettingsCheck");
    EXPECT_TRUE(review->isEnabled());
    EXPECT_FALSE(review->isChecked());

    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/CardReg/CardReg_NT5.inf"));
    Back();  // page 6, shown for the first time
    EXPECT_EQ(sheet->ActivePageId(), kPageFinal);
    EXPECT_EQ(Text("prefixEdit"), "CardReg");
}

TEST_F(Nav, LoadedFileWithReviewGoesThroughThePages) {
    TempDir dir;
    const std::string path =
        dir.Write("card.ini",
                  "[Module]\r\nManufCode=0x1234\r\nVISARegistration=Reg\r\n"
                  "[Reg]\r\nNumDetectSequences=1\r\nInterruptDetect0=C8 BAR0 0x0 0xFF 0x1;\r\n");
    prompter.fileChoices = {path};
    Open(kPageWelcomePxi);
    Click("loadModuleFileButton");
    EXPECT_TRUE(Find<QCheckBox>("generatesInterruptsCheck")->isChecked());
    Click("viewLoadedSettingsCheck");
    Next();
    EXPECT_EQ(sheet->ActivePageId(), kPageIsMine);
    EXPECT_EQ(Shown(), kBackNext);
    EXPECT_TRUE(fake.files.FileNames().empty());
}

TEST_F(Nav, FailedOrCancelledLoadLeavesThePageAsItWas) {
    TempDir dir;
    const std::string notModule = dir.Write("other.ini", "[Other]\r\nKey=1\r\n");
    prompter.fileChoices = {std::nullopt, notModule, dir.path().string() + "/missing.ini"};
    Open(kPageWelcomePxi);
    Type("manufNameEdit", "Typed Maker");
    for (int i = 0; i < 3; ++i) {
        Click("loadModuleFileButton");
        EXPECT_EQ(Text("manufNameEdit"), "Typed Maker");
        EXPECT_FALSE(Find("viewLoadedSettingsCheck")->isEnabled());
    }
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{std::string(strings::kNotModuleDescriptionFile)});
}

}  // namespace
}  // namespace tessaly::testing
