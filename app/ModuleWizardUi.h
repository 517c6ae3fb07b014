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
// loaded, messages go to standard error; the wizard itself then cannot be shown.
class ModuleWizardUi final : public WizardUi {
public:
    // `candidates`: where the module may be, tried in order.
    ModuleWizardUi(SharedLibraryLoader& loader, std::vector<std::string> candidates,
                   GuiContext context, bool displayAvailable, std::ostream& errors);
    ~ModuleWizardUi() override;

    Prompter& prompter() override { return prompter_; }
    // Standard error, display or not.
    Prompter& notices() override { return notices_; }
    void RunWizard(WizardModel& model, PageId startPage) override;

    // The wizard had to be shown but could not be.
    bool couldNotShow() const { return couldNotShow_; }
    // The module was loaded during the run.
    bool loaded() const { return session_ != nullptr; }

    // DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM names a place for windows.
    static bool DisplayAvailableFromEnvironment();

private:
    // The session, loading the module the first time; nullptr (said once on `errors`) when
    // there is no display or the module cannot be used.
    GuiSession* Session();

    class LazyPrompter final : public ForwardingPrompter {
    public:
        LazyPrompter(ModuleWizardUi& ui, std::ostream& errors) : ui_(ui), console_(errors) {}

    protected:
        Prompter& Target() override;

    private:
        ModuleWizardUi& ui_;
        ConsolePrompter console_;
    };

    SharedLibraryLoader& loader_;
    std::vector<std::string> candidates_;
    GuiContext context_;
    bool displayAvailable_;
    std::ostream& errors_;
    LazyPrompter prompter_;
    ConsolePrompter notices_;
    std::unique_ptr<GuiSession> session_;
    bool tried_ = false;
    std::string failure_;
    bool couldNotShow_ = false;
};

}  // namespace tessaly
