#include "app/WizardApp.h"

#include "actions/InfInstaller.h"
#include "modulefile/ModuleLoader.h"
#include "output/Generation.h"
#include "platform/ForwardingPrompter.h"

namespace tessaly {
namespace {

constexpr const char* kInvalidCommandLineFile =
    "The command line parameter was not a valid module description file name, or processing the "
    "file was cancelled.";
constexpr const char* kCouldNotSave = "The wizard could not save the output files.";
constexpr const char* kCouldNotInstall = "The wizard could not install the output files.";

// Passes everything on and remembers whether a failure (stop or exclamation) was shown.
class FailureWatch final : public ForwardingPrompter {
public:
    explicit FailureWatch(Prompter& inner) : inner_(inner) {}
    bool failed() const { return failed_; }

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        failed_ = failed_ || icon == MessageIcon::Stop || icon == MessageIcon::Exclamation;
        inner_.ShowMessage(text, icon);
    }

protected:
    Prompter& Target() override { return inner_; }

private:
    Prompter& inner_;
    bool failed_ = false;
};

}  // namespace

int RunWizardApp(const std::vector<std::string>& arguments, const Platform& platform,
                 WizardUi& ui) {
    const CWizardCommandLineInfo command = ParseCommandLine(arguments);
    WizardModel model;
    if (!command.filePresent) {
        ui.RunWizard(model, kPageWelcome);
        return 0;
    }

    FailureWatch prompter(ui.prompter());
    if (LoadModuleDescriptionFile(model, command.fileName, prompter) != 0) {
        prompter.ShowMessage(kInvalidCommandLineFile, MessageIcon::Stop);
        return 1;
    }
    if (GenerateAll(model, platform, prompter, GenerationSource::DefaultDirectory,
                    command.SilentAutoInstall) != 0) {
        prompter.ShowMessage(kCouldNotSave, MessageIcon::Stop);
        return 1;
    }
    if (command.SilentAutoInstall) {
        if (!InstallInf(model, platform)) {
            prompter.ShowMessage(kCouldNotInstall, MessageIcon::Stop);
        }
    } else {
        ui.RunWizard(model, kPageAfterSaveAction);
    }
    return prompter.failed() ? 1 : 0;
}

}  // namespace tessaly
