#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/ConsolePrompter.h"
#include "app/ModuleWizardUi.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/RecordingDialogs.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::RecordingPrompter;
using Strings = std::vector<std::string>;

struct FakeSession final : GuiSession {
    static inline RecordingPrompter* shown = nullptr;
    static inline int wizards = 0;
    testing::RecordingDialogs recorded;
    Prompter& prompter() override { return *shown; }
    WizardDialogs& dialogs() override { return recorded; }
    void RunWizard(WizardModel&, PageId) override { ++wizards; }
};

GuiSession* CreateFakeSession(int version, const GuiContext&) {
    return version == kGuiModuleVersion ? new FakeSession : nullptr;
}

// Answers from a table of libraries; counts what it is asked.
class FakeLoader final : public SharedLibraryLoader {
public:
    bool present = true;
    std::vector<std::string> asked;

    void* FindSymbol(const std::string& path, const char* symbol, std::string& error) override {
        asked.push_back(path);
        if (!present || std::string(symbol) != kGuiModuleEntry) {
            error = path + ": not here";
            return nullptr;
        }
        return reinterpret_cast<void*>(&CreateFakeSession);
    }
    std::string ExecutableFolder() override { return "/bin/"; }
};

TEST(ModuleWizardUiTest, LoadsTheModuleOnlyWhenAWindowIsNeeded) {
    const std::string missing =
        "Tessaly Wizard: The window module could not be loaded (/a.so: not here; /b.so: not "
        "here).\n";
    const std::string messages = "Tessaly Wizard: one\nTessaly Wizard: two\n";
    const std::string noDisplay = "Tessaly Wizard: There is no display to show the wizard on.\n";
    const Strings both = {"/a.so", "/b.so"};
    // A display, the module, the wizard (else two messages); then what happens.
    const std::tuple<bool, bool, bool, Strings, std::string> cases[] = {
        {true, true, false, {"/a.so"}, ""},
        {true, true, true, {"/a.so"}, ""},
        {false, true, false, {}, messages},
        {false, true, true, {}, noDisplay},
        {true, false, false, both, missing + messages},
        {true, false, true, both, missing},
    };
    for (const auto& [display, present, wizard, asked, said] : cases) {
        SCOPED_TRACE(::testing::Message() << display << present << wizard);
        RecordingPrompter shown;
        FakeSession::shown = &shown;
        FakeSession::wizards = 0;
        FakeLoader loader;
        loader.present = present;
        std::ostringstream errors;
        int argc = 0;
        testing::FakePlatform fake('/');
        const Platform platform = fake.platform();
        const bool shows = display && present;
        {
            ConsolePrompter fallback(errors);
            ModuleWizardUi ui(loader, both, {&argc, nullptr, &platform, false, {}}, display,
                              fallback, false, errors);
            EXPECT_TRUE(loader.asked.empty());
            if (wizard) {
                WizardModel model;
                ui.RunWizard(model, kPageWelcome);
            } else {
                ui.prompter().ShowMessage("one", MessageIcon::Stop);
                ui.prompter().ShowMessage("two", MessageIcon::None);
            }
            EXPECT_EQ(ui.couldNotShow(), wizard && !shows);
        }
        EXPECT_EQ(loader.asked, asked);
        EXPECT_EQ(errors.str(), said);
        EXPECT_EQ(shown.Texts(), (shows && !wizard ? Strings{"one", "two"} : Strings{}));
        EXPECT_EQ(FakeSession::wizards, shows && wizard ? 1 : 0);
    }
}

// A notice of a run from a module file never waits on a box. Where the fallback is the system's
// message boxes (Windows), a message or question loads no module either; once the wizard has
// loaded it, its own boxes take over.
TEST(ModuleWizardUiTest, NoticesAndMessageBoxesNeedNoModule) {
    RecordingPrompter shown;
    FakeSession::shown = &shown;
    FakeLoader loader;
    std::ostringstream errors;
    int argc = 0;
    testing::FakePlatform fake('/');
    const Platform platform = fake.platform();
    RecordingPrompter boxes;
    boxes.yesNoAnswers = {true};
    ModuleWizardUi ui(loader, {"/a.so"}, {&argc, nullptr, &platform, false, {}}, true, boxes, true,
                      errors);
    ui.notices().ShowMessage("warning: a quote", MessageIcon::None);
    ui.prompter().ShowMessage("one", MessageIcon::Stop);
    EXPECT_TRUE(ui.prompter().AskYesNo("create?"));
    EXPECT_TRUE(loader.asked.empty());
    WizardModel model;
    ui.RunWizard(model, kPageWelcome);
    ui.prompter().ShowMessage("two", MessageIcon::Stop);
    EXPECT_EQ(errors.str(), "Tessaly Wizard: warning: a quote\n");
    EXPECT_EQ(boxes.Texts(), (Strings{"one", "create?"}));
    EXPECT_EQ(shown.Texts(), Strings{"two"});
    EXPECT_EQ(loader.asked, Strings{"/a.so"});
}

// A combination module's functions go to the module's chooser; without a display, the functions
// and the switch that picks one go where the fallback's messages go.
TEST(ModuleWizardUiTest, FunctionsAreChosenInTheModuleOrListed) {
    for (const bool display : {true, false}) {
        RecordingPrompter shown;
        FakeSession::shown = &shown;
        FakeLoader loader;
        std::ostringstream errors;
        int argc = 0;
        testing::FakePlatform fake('/');
        const Platform platform = fake.platform();
        ConsolePrompter fallback(errors);
        ModuleWizardUi ui(loader, {"/a.so"}, {&argc, nullptr, &platform, false, {}}, display,
                          fallback, false, errors);
        EXPECT_EQ(ui.ChooseFunction({"F1 (One)", "F2 (Two)"}), std::nullopt);
        EXPECT_EQ(loader.asked.size(), display ? 1u : 0u);
        EXPECT_EQ(
            errors.str().find("/Function:<n>:\n1. F1 (One)\n2. F2 (Two)") != std::string::npos,
            !display)
            << errors.str();
    }
}

}  // namespace
}  // namespace tessaly
