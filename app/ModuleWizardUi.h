#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/GuiModule.h"
#include "platform/ConsolePrompter.h"
#include "platform/ForwardingPrompter.h"
#include "platform/SharedLibrary.h"

namespace tessaly {

// The program's windows, loaded on first need. Without a display, or when the module cannot be
// loaded, messages go to the platform's fallback (standard error, or message boxes on Windows);
// the wizard itself then cannot be shown.
class ModuleWizardUi final : public WizardUi {
public:
    // `candidates`: where the module may be, tried in order. `notices` is standard error. With
    // `messageBoxes`, the fallback shows the system's message boxes: messages and questions then
    // go there unless the module is already loaded, and only the wizard and its dialogs load it.
    ModuleWizardUi(SharedLibraryLoader& loader, std::vector<std::string> candidates,
                   GuiContext context, bool displayAvailable, Prompter& fallback, bool messageBoxes,
                   std::ostream& notices);
    ~ModuleWizardUi() override;

    Prompter& prompter() override { return prompter_; }
    // Standard error, display or not.
    Prompter& notices() override { return notices_; }
    void RunWizard(WizardModel& model, PageId startPage) override;

    // The wizard had to be shown but could not be.
    bool couldNotShow() const { return couldNotShow_; }
    // The module was loaded during the run.
    bool loaded() const { return session_ != nullptr; }

private:
    // The session, loading the module the first time; nullptr (said once through the fallback)
    // when there is no display or the module cannot be used.
    GuiSession* Session();

    class LazyPrompter final : public ForwardingPrompter {
    public:
        explicit LazyPrompter(ModuleWizardUi& ui) : ui_(ui) {}

        void ShowMessage(const std::string& text, MessageIcon icon) override {
            MessageTarget().ShowMessage(text, icon);
        }
        bool AskYesNo(const std::string& text) override { return MessageTarget().AskYesNo(text); }
        void Beep() override { MessageTarget().Beep(); }

    protected:
        Prompter& Target() override;

    private:
        Prompter& MessageTarget() {
            return ui_.messageBoxes_ && !ui_.session_ ? ui_.fallback_ : Target();
        }

        ModuleWizardUi& ui_;
    };

    SharedLibraryLoader& loader_;
    std::vector<std::string> candidates_;
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
