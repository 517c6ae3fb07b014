#include "app/WizardApp.h"

#include "actions/InfInstaller.h"
#include "modulefile/ModuleLoader.h"
#include "output/Generation.h"

namespace tessaly {
namespace {

constexpr const char* kInvalidCommandLineFile =
    "The command line parameter was not a valid module description file name, or processing the "
    "file was cancelled.";
constexpr const char* kCouldNotSave = "The wizard could not save the output files.";
constexpr const char* kCouldNotInstall = "The wizard could not install the output files.";

// Passes everything on and remembers whether a failure (stop or exclamation) was shown.
class FailureWatch final : public Prompter {
public:
    explicit FailureWatch(Prompter& inner) : inner_(inner) {}
    bool failed() const { return failed_; }

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        failed_ = failed_ || icon == MessageIcon::Stop || icon == MessageIcon::Exclamation;
        inner_.ShowMessage(text, icon);
    }
    bool AskYesNo(const std::string& text) override { return inner_.AskYesNo(text); }
    void Beep() override { inner_.Beep(); }
    std::optional<int> ChooseFunction(const std::string& list) override {
        return inner_.ChooseFunction(list);
    }
    std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                const std::string& extension) override {
        return inner_.ChooseFileToOpen(title, filter, extension);
    }
    std::optional<std::string> ChooseFolder(const std::string& initial) override {
        return inner_.ChooseFolder(initial);
    }
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override {
        return inner_.EditStep(initial);
    }

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
