#include <gtest/gtest.h>

#include "app/WizardApp.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using testing::FakePlatform;
using testing::RecordingPrompter;
using testing::TempDir;

constexpr const char* kInvalidFile =
    "The command line parameter was not a valid module description file name, or processing the "
    "file was cancelled.";
constexpr const char* kNotModuleFile =
    "The file you selected is not a valid module description file.";
constexpr const char* kCouldNotSave = "The wizard could not save the output files.";
constexpr const char* kCouldNotInstall = "The wizard could not install the output files.";

constexpr const char* kSimpleModule =
    "[Module]\r\n"
    "ModuleName = \"Scope 9\"\r\n"
    "ModuleVendor = \"Acme\"\r\n"
    "ModelCode = 0x1234\r\n"
    "ManufCode = 0xABCD\r\n"
    "VISARegistration = Simple\r\n";

constexpr const char* kCombinationModule =
    "[Module]\r\n"
    "FunctionList = 0,1\r\n"
    "[Function0]\r\n"
    "ModelCode = 0x0001\r\n"
    "ManufCode = 0xABCD\r\n"
    "[Function1]\r\n"
    "ModelCode = 0x0002\r\n"
    "ManufCode = 0xABCD\r\n";

class FakeWizardUi final : public WizardUi {
public:
    RecordingPrompter recorder;
    std::vector<PageId> shownAt;
    std::string prefixWhenShown;

    Prompter& prompter() override { return recorder; }
    void RunWizard(WizardModel& model, PageId startPage) override {
        shownAt.push_back(startPage);
        prefixWhenShown = model.device.InstrumentPrefix;
    }
};

class WizardAppTest : public ::testing::Test {
protected:
    WizardAppTest() { fake.files.AddDirectory("c:\\windows\\inf"); }

    int Run(const std::vector<std::string>& arguments) {
        return RunWizardApp(arguments, fake.platform(), ui);
    }

    TempDir temp;
    FakePlatform fake;
    FakeWizardUi ui;
    const std::string outputDir = "c:\\vxipnp\\winnt\\Scope9";
};

TEST_F(WizardAppTest, WithoutAFileTheWizardStartsAtTheBusPage) {
    for (const auto& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"-SilentAutoInstall"}}) {
        ui.shownAt.clear();
        EXPECT_EQ(Run(arguments), 0);
        EXPECT_EQ(ui.shownAt, std::vector<PageId>{kPageWelcome});
    }
    EXPECT_TRUE(ui.recorder.messages.empty());
    EXPECT_TRUE(fake.files.WriteLog().empty());
}

TEST_F(WizardAppTest, AFileThatCannotBeLoadedEndsWithItsMessages) {
    struct Case {
        std::string name;
        std::string contents;  // empty: the file does not exist
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"missing.ini", "", {kInvalidFile}},
        {"plain.ini", "[Other]\r\nKey = 1\r\n", {kNotModuleFile, kInvalidFile}},
        {"combination.ini", kCombinationModule, {kInvalidFile}},  // the choice is cancelled
    };
    for (const Case& c : cases) {
        ui.recorder.messages.clear();
        const std::string path =
            c.contents.empty() ? (temp.path() / c.name).string() : temp.Write(c.name, c.contents);
        EXPECT_EQ(Run({path, "/SilentAutoInstall"}), 1) << c.name;
        EXPECT_EQ(ui.recorder.Texts(), c.messages) << c.name;
        for (const auto& message : ui.recorder.messages) {
            EXPECT_EQ(message.icon, MessageIcon::Stop);
        }
    }
    EXPECT_TRUE(ui.shownAt.empty());
    EXPECT_TRUE(fake.files.WriteLog().empty());
}

TEST_F(WizardAppTest, SilentRunWritesInstallsAndEndsWithoutAWindow) {
    const std::string path = temp.Write("scope.ini", kSimpleModule);
    EXPECT_EQ(Run({path, "/SilentAutoInstall"}), 0);
    EXPECT_TRUE(ui.shownAt.empty());
    EXPECT_TRUE(ui.recorder.messages.empty());  // the missing directory is created unasked
    for (const char* name :
         {"Scope_RT.inf", "Scope9_9x.inf", "Scope9_NT4.inf", "Scope9_NT5.inf", "Scope9.ini"}) {
        EXPECT_TRUE(fake.files.HasFile(outputDir + "\\" + name)) << name;
    }
    EXPECT_EQ(fake.files.Contents("c:\\windows\\inf\\Scope9_NT5.inf"),
              fake.files.Contents(outputDir + "\\Scope9_NT5.inf"));
    ASSERT_EQ(fake.plugAndPlay.updates.size(), 2u);
    EXPECT_EQ(fake.plugAndPlay.updates[0].first, "PCI\\VEN_ABCD&DEV_1234");
    EXPECT_EQ(fake.plugAndPlay.updates[1].first, "PCI\\VEN_ABCD&DEV_1234&SUBSYS_00000000&REV_00");
}

TEST_F(WizardAppTest, SilentRunReportsAFailedInstallation) {
    fake.system.windowsDirectory.reset();
    const std::string path = temp.Write("scope.ini", kSimpleModule);
    EXPECT_EQ(Run({"-silentautoinstall", path}), 1);
    EXPECT_EQ(ui.recorder.Texts(), std::vector<std::string>{kCouldNotInstall});
    EXPECT_TRUE(fake.files.HasFile(outputDir + "\\Scope9_NT5.inf"));  // files stay on disk
    EXPECT_TRUE(ui.shownAt.empty());
}

TEST_F(WizardAppTest, WithoutTheSwitchTheDirectoryIsCreatedAfterAskingAndPage7Opens) {
    ui.recorder.yesNoAnswers = {true};
    const std::string path = temp.Write("scope.ini", kSimpleModule);
    EXPECT_EQ(Run({path}), 0);
    ASSERT_EQ(ui.recorder.messages.size(), 1u);
    EXPECT_EQ(ui.recorder.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.shownAt, std::vector<PageId>{kPageAfterSaveAction});
    EXPECT_EQ(ui.prefixWhenShown, "Scope9");
    EXPECT_TRUE(fake.files.HasFile(outputDir + "\\Scope9.ini"));
    EXPECT_TRUE(fake.plugAndPlay.updates.empty());  // nothing installed without the switch
}

TEST_F(WizardAppTest, RefusingTheDirectoryEndsWithTheSaveMessage) {
    ui.recorder.yesNoAnswers = {false};
    const std::string path = temp.Write("scope.ini", kSimpleModule);
    EXPECT_EQ(Run({path}), 1);
    ASSERT_EQ(ui.recorder.messages.size(), 2u);
    EXPECT_EQ(ui.recorder.messages[1],
              (RecordingPrompter::Message{kCouldNotSave, MessageIcon::Stop}));
    EXPECT_TRUE(ui.shownAt.empty());
    EXPECT_FALSE(fake.files.HasDirectory(outputDir));
}

TEST_F(WizardAppTest, AWriterFailureStillEndsTheRunButWithFailureStatus) {
    fake.files.AddDirectory(outputDir);
    fake.files.LockFile(outputDir + "\\Scope9_NT4.inf");
    const std::string path = temp.Write("scope.ini", kSimpleModule);
    EXPECT_EQ(Run({path, "/SilentAutoInstall"}), 1);
    EXPECT_EQ(ui.recorder.Texts(),
              std::vector<std::string>{"Unable to save Windows NT Setup Information File"});
    EXPECT_TRUE(fake.files.HasFile("c:\\windows\\inf\\Scope9_NT5.inf"));
}

}  // namespace
}  // namespace tessaly
