#include "app/ModuleWizardUi.h"

#include <utility>

namespace tessaly {

ModuleWizardUi::ModuleWizardUi(SharedLibraryLoader& loader, std::vector<std::string> candidates,
                               GuiContext context, bool displayAvailable, Prompter& fallback,
                               bool messageBoxes, std::ostream& notices, GuiModuleEntry linked)
    : loader_(loader),
      candidates_(std::move(candidates)),
      linked_(linked),
      context_(context),
      displayAvailable_(displayAvailable),
      fallback_(fallback),
      messageBoxes_(messageBoxes),
      prompter_(*this),
      notices_(notices) {}

// The session goes before the program ends; the module itself stays mapped, as toolkits that
// registered exit handlers expect.
ModuleWizardUi::~ModuleWizardUi() = default;

GuiSession* ModuleWizardUi::Session() {
    if (tried_ || !displayAvailable_) {
        return session_.get();
    }
    tried_ = true;
    if (linked_) {
        session_.reset(linked_(kGuiModuleVersion, context_));
        return session_.get();
    }
    std::string reasons;
    for (const std::string& path : candidates_) {
        std::string error;
        void* entry = loader_.FindSymbol(path, kGuiModuleEntry, error);
        if (!entry) {
            reasons += (reasons.empty() ? "" : "; ") + error;
            continue;
        }
        session_.reset(reinterpret_cast<GuiModuleEntry>(entry)(kGuiModuleVersion, context_));
        if (!session_) {
            reasons += (reasons.empty() ? "" : "; ") + path + ": the module does not match";
            continue;
        }
        return session_.get();
    }
    fallback_.ShowMessage("The window module could not be loaded (" + reasons + ").",
                          MessageIcon::Stop);
    return nullptr;
}

void ModuleWizardUi::RunWizard(WizardModel& model, PageId startPage) {
    GuiSession* session = Session();
    if (!session) {
        couldNotShow_ = true;
        if (!displayAvailable_) {
            fallback_.ShowMessage("There is no display to show the wizard on.", MessageIcon::Stop);
        }
        return;
    }
    session->RunWizard(model, startPage);
}

std::optional<int> ModuleWizardUi::ChooseFunction(const std::vector<std::string>& functions) {
    if (GuiSession* session = Session()) {
        return session->dialogs().ChooseFunction(functions);
    }
    fallback_.ShowMessage(FunctionSwitchHelp(functions), MessageIcon::None);
    return std::nullopt;
}

Prompter& ModuleWizardUi::LazyPrompter::Target() {
    if (ui_.messageBoxes_ && !ui_.session_) {
        return ui_.fallback_;
    }
    if (GuiSession* session = ui_.Session()) {
        return session->prompter();
    }
    return ui_.fallback_;
}

}  // namespace tessaly
