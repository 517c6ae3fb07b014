#include "app/WizardApp.h"

#include "actions/InfInstaller.h"
#include "actions/PackageInstaller.h"
#include "app/BatchRun.h"
#include "modulefile/ModuleLoader.h"
#include "output/Generation.h"
#include "output/InfHazards.h"
#include "platform/ForwardingPrompter.h"

namespace tessaly {
namespace {

constexpr const char* kInvalidCommandLineFile =
    "The command line parameter was not a valid module description file name, or processing the "
    "file was cancelled.";
constexpr const char* kCouldNotSave = "The wizard could not save the output files.";
constexpr const char* kCouldNotInstall = "The wizard could not install the output files.";

// Passes everything on, notices to their own place, and remembers whether a failure (stop or
// exclamation) was shown.
class FailureWatch final : public ForwardingPrompter {
public:
    FailureWatch(Prompter& inner, Prompter& notices) : inner_(inner), notices_(notices) {}
    bool failed() const { return failed_; }

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        failed_ = failed_ || icon == MessageIcon::Stop || icon == MessageIcon::Exclamation;
        (icon == MessageIcon::None ? notices_ : inner_).ShowMessage(text, icon);
    }

protected:
    Prompter& Target() override { return inner_; }

private:
    Prompter& inner_;
    Prompter& notices_;
    bool failed_ = false;
};

}  // namespace

int RunWizardApp(const std::vector<std::string>& arguments, const Platform& platform, WizardUi& ui,
                 std::ostream& output, Workers& workers, const PackageEnvironment& packages) {
    const CommandLine line = ParseCommandLine(arguments, [&platform](const std::string& path) {
        return platform.files.QueryAttributes(path).ok();
    });
    // Never a window for these: a script that got the line wrong must not wait on one.
    if (!line.error.empty()) {
        ui.notices().ShowMessage(line.error + "\n" + UsageHint(), MessageIcon::None);
        return 2;
    }
    if (line.batchMode()) {
        return RunBatch(line, platform, packages, workers, ui.notices(), output);
    }
    const CWizardCommandLineInfo& command = line.wizard;
    WizardModel model;
    if (!command.filePresent) {
        ui.RunWizard(model, kPageWelcome);
        return 0;
    }

    FailureWatch prompter(ui.prompter(), ui.notices());
    std::optional<int> function;
    if (command.function) {
        function = FunctionPosition(*command.function);
        if (!function) {
            prompter.ShowMessage(FunctionSwitchError(*command.function), MessageIcon::Stop);
            return 1;
        }
    }
    const auto choose = [&ui](const std::vector<std::string>& functions) {
        return ui.ChooseFunction(functions);
    };
    if (LoadModuleDescriptionFile(model.device, command.fileName, platform.files, prompter, choose,
                                  function) != 0) {
        prompter.ShowMessage(kInvalidCommandLineFile, MessageIcon::Stop);
        return 1;
    }
    // The files are written as described all the same; what INF readers will misread is said
    // first, as warnings that do not fail the run.
    for (const InfHazard& hazard : FindInfHazards(model.device, Bus::PxiPci)) {
        prompter.ShowMessage("warning: " + DescribeInfHazard(hazard), MessageIcon::None);
    }
    if (GenerateAll(model.device, model.plan, platform, prompter,
                    GenerationSource::DefaultDirectory, command.SilentAutoInstall) != 0) {
        prompter.ShowMessage(kCouldNotSave, MessageIcon::Stop);
        return 1;
    }
    if (command.SilentAutoInstall) {
        WarnIfSeedInfIsIgnored(platform.driverStore, prompter);
        if (!InstallInf(model.plan, model.device.BusType, platform)) {
            prompter.ShowMessage(kCouldNotInstall, MessageIcon::Stop);
        }
    } else {
        ui.RunWizard(model, kPageAfterSaveAction);
    }
    return prompter.failed() ? 1 : 0;
}

}  // namespace tessaly
