#include <gtest/gtest.h>

#include <sstream>

#include "app/ModuleWizardUi.h"
#include "platform/ConsolePrompter.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using testing::RecordingPrompter;

struct FakeSession final : GuiSession {
    static inline RecordingPrompter* shown = nullptr;
    static inline int wizards = 0;
    Prompter& prompter() override { return *shown; }
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
    struct Case {
        const char* name;
        bool display;
        bool present;
        bool wizard;  // else two messages
        std::vector<std::string> asked;
        const char* errors;
        int sessionMessages;
        bool couldNotShow;
    };
    const Case cases[] = {
        {"messages with the module", true, true, false, {"/a.so"}, "", 2, false},
        {"wizard with the module", true, true, true, {"/a.so"}, "", 0, false},
        {"messages without a display",
         false,
         true,
         false,
         {},
         "Tessaly Wizard: one\nTessaly Wizard: two\n",
         0,
         false},
        {"wizard without a display",
         false,
         true,
         true,
         {},
         "Tessaly Wizard: There is no display to show the wizard on.\n",
         0,
         true},
        {"messages, module missing",
         true,
         false,
         false,
         {"/a.so", "/b.so"},
         "Tessaly Wizard: The window module could not be loaded (/a.so: not here; /b.so: not "
         "here).\nTessaly Wizard: one\nTessaly Wizard: two\n",
         0,
         false},
        {"wizard, module missing",
         true,
         false,
         true,
         {"/a.so", "/b.so"},
         "Tessaly Wizard: The window module could not be loaded (/a.so: not here; /b.so: not "
         "here).\n",
         0,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingPrompter shown;
        FakeSession::shown = &shown;
        FakeSession::wizards = 0;
        FakeLoader loader;
        loader.present = c.present;
        std::ostringstream errors;
        int argc = 0;
        testing::FakePlatform fake('/');
        const Platform platform = fake.platform();
        {
            ConsolePrompter fallback(errors);
            ModuleWizardUi ui(loader, {"/a.so", "/b.so"}, {&argc, nullptr, &platform, false, {}},
                              c.display, fallback, false, errors);
            EXPECT_TRUE(loader.asked.empty());
            if (c.wizard) {
                WizardModel model;
                ui.RunWizard(model, kPageWelcome);
            } else {
                ui.prompter().ShowMessage("one", MessageIcon::Stop);
                ui.prompter().ShowMessage("two", MessageIcon::None);
            }
            EXPECT_EQ(ui.couldNotShow(), c.couldNotShow);
        }
        EXPECT_EQ(loader.asked, c.asked);
        EXPECT_EQ(errors.str(), c.errors);
        EXPECT_EQ(static_cast<int>(shown.messages.size()), c.sessionMessages);
        EXPECT_EQ(FakeSession::wizards, c.wizard && !c.couldNotShow ? 1 : 0);
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
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"one", "create?"}));
    EXPECT_EQ(shown.Texts(), std::vector<std::string>{"two"});
    EXPECT_EQ(loader.asked, std::vector<std::string>{"/a.so"});
}

}  // namespace
}  // namespace tessaly
