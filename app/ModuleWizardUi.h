#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/ConsolePrompter.h"
#include "app/WizardApp.h"
#include "platform/ForwardingPrompter.h"
#include "platform/SharedLibrary.h"
#include "wizard/GuiModule.h"

namespace tessaly {

// The program's windows, loaded on first need. Without a display, or when the module cannot be
// loaded, messages go to the platform's fallback (standard error, or message boxes on Windows);
// the wizard itself then cannot be shown.
class ModuleWizardUi final : public WizardUi {
public:
    // `candidates`: where the module may be, tried in order. `notices` is standard error. With
    // `messageBoxes`, the fallback shows the system's message boxes: messages and questions then
    // go there unless the module is already loaded, and only the wizard and its dialogs load it.
    // `linked`: the entry of a view linked into the program, started instead of loading one.
    ModuleWizardUi(SharedLibraryLoader& loader, std::vector<std::string> candidates,
                   GuiContext context, bool displayAvailable, Prompter& fallback, bool messageBoxes,
                   std::ostream& notices, GuiModuleEntry linked = nullptr);
    ~ModuleWizardUi() override;

    Prompter& prompter() override { return prompter_; }
    // Standard error, display or not.
    Prompter& notices() override { return notices_; }
    void RunWizard(WizardModel& model, PageId startPage) override;
    // The module's chooser; without a display or the module, the functions and the switch that
    // picks one go where the fallback's messages go.
    std::optional<int> ChooseFunction(const std::vector<std::string>& functions) override;

    // The wizard had to be shown but could not be.
    bool couldNotShow() const { return couldNotShow_; }
    // The module was loaded during the run.
    bool loaded() const { return session_ != nullptr; }

private:
    // The session, loading the module the first time; nullptr (said once through the fallback)
    // when there is no display or the module cannot be used.
    GuiSession* Session();

    // Messages go to the module's boxes, loading it, unless the fallback shows boxes of its own
    // and the module is not loaded yet.
    class LazyPrompter final : public ForwardingPrompter {
    public:
        explicit LazyPrompter(ModuleWizardUi& ui) : ui_(ui) {}

    protected:
        Prompter& Target() override;

    private:
        ModuleWizardUi& ui_;
    };

    SharedLibraryLoader& loader_;
    std::vector<std::string> candidates_;
    GuiModuleEntry linked_;
    GuiContext context_;
    bool displayAvailable_;
    Prompter& fallback_;
    bool messageBoxes_;
    LazyPrompter prompter_;
    ConsolePrompter notices_;
    std::unique_ptr<GuiSession> session_;
    bool tried_ = false;
    std::string failure_;
    bool couldNotShow_ = false;
};

}  // namespace tessaly
