#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "actions/InfInstaller.h"
#include "app/QtPrompter.h"
#include "app/WizardApp.h"
#include "platform/ConsolePrompter.h"

class QApplication;

namespace tessaly {

// The program's windows. The Qt application is created only when a window must be shown and a
// display is there; without one, messages go to standard error.
class QtWizardUi final : public WizardUi {
public:
    QtWizardUi(int& argc, char** argv, const Platform& platform, bool registryConfigured);
    ~QtWizardUi() override;

    Prompter& prompter() override { return prompter_; }
    void RunWizard(WizardModel& model, PageId startPage) override;

    // The wizard had to be shown but there was no display for it.
    bool couldNotShow() const { return couldNotShow_; }
    bool hasApplication() const { return app_ != nullptr; }

    // With TESSALY_STARTUP_PROBE set, the wizard closes as soon as its first page is on screen
    // and the time since `start` is printed.
    void SetStartTime(std::chrono::steady_clock::time_point start) { start_ = start; }

    // DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM names a place for windows.
    static bool DisplayAvailable();

private:
    bool EnsureApplication();

    // Creates the application on the first message that needs a window.
    class LazyPrompter final : public Prompter {
    public:
        explicit LazyPrompter(QtWizardUi& ui);
        void ShowMessage(const std::string& text, MessageIcon icon) override;
        bool AskYesNo(const std::string& text) override;
        void Beep() override;
        std::optional<int> ChooseFunction(const std::string& functionList) override;
        std::optional<std::string> ChooseFileToOpen(const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& defaultExtension) override;
        std::optional<std::string> ChooseFolder(const std::string& initialFolder) override;
        std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override;

    private:
        Prompter& Target();
        QtWizardUi& ui_;
        QtPrompter gui_;
        ConsolePrompter console_;
    };

    int& argc_;
    char** argv_;
    const Platform& platform_;
    bool registryConfigured_;
    RealTimeProductDetector detector_;  // remembers a found product for the whole run
    LazyPrompter prompter_;
    std::unique_ptr<QApplication> app_;
    bool couldNotShow_ = false;
    std::optional<std::chrono::steady_clock::time_point> start_;
};

}  // namespace tessaly
