#include "app/ModuleWizardUi.h"

#include <cstdlib>
#include <utility>

#include "resources/StringTable.h"

namespace tessaly {
namespace {

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

ModuleWizardUi::ModuleWizardUi(SharedLibraryLoader& loader, std::vector<std::string> candidates,
                               GuiContext context, bool displayAvailable, std::ostream& errors)
    : loader_(loader),
      candidates_(std::move(candidates)),
      context_(context),
      displayAvailable_(displayAvailable),
      errors_(errors),
      prompter_(*this, errors),
      notices_(errors) {}

// The session goes before the program ends; the module itself stays mapped, as toolkits that
// registered exit handlers expect.
ModuleWizardUi::~ModuleWizardUi() = default;

bool ModuleWizardUi::DisplayAvailableFromEnvironment() {
    return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY") ||
           EnvironmentSet("QT_QPA_PLATFORM");
}

GuiSession* ModuleWizardUi::Session() {
    if (tried_ || !displayAvailable_) {
        return session_.get();
    }
    tried_ = true;
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
    errors_ << strings::kAppTitle << ": the window module could not be loaded (" << reasons
            << ")\n";
    return nullptr;
}

void ModuleWizardUi::RunWizard(WizardModel& model, PageId startPage) {
    GuiSession* session = Session();
    if (!session) {
        couldNotShow_ = true;
        if (!displayAvailable_) {
            errors_ << strings::kAppTitle << ": no display to show the wizard on\n";
        }
        return;
    }
    session->RunWizard(model, startPage);
}

Prompter& ModuleWizardUi::LazyPrompter::Target() {
    if (GuiSession* session = ui_.Session()) {
        return session->prompter();
    }
    return console_;
}

}  // namespace tessaly
