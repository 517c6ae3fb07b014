#pragma once

#include <QString>
#include <string>

#include "platform/Prompter.h"

namespace tessaly {

class WizardDialogs;

// Asks the user with modal Qt message boxes over the active window, captioned "Tessaly Wizard";
// the dialogs are those of `dialogs`.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(WizardDialogs& dialogs) : dialogs_(dialogs) {}

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;
    std::optional<int> ChooseFunction(const std::string& functionList) override;
    std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                const std::string& defaultExtension) override;
    std::optional<std::string> ChooseFolder(const std::string& initialFolder) override;
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override;
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) override;

private:
    WizardDialogs& dialogs_;
};

// Message text: UTF-8 when it is valid UTF-8 (paths), else Latin-1 bytes.
QString MessageText(const std::string& bytes);

}  // namespace tessaly
