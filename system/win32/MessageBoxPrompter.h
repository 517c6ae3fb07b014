#pragma once

#include <ostream>

#include "platform/ConsolePrompter.h"
#include "platform/Prompter.h"

namespace tessaly {

// Messages and questions in Windows message boxes captioned with the application title, for
// when the window module is not there. A box that cannot be shown (no desktop, as in a service)
// leaves its text on `errors` instead, and a question is then answered No. The chooser, the
// dialogs and the step editor need the window module: they count as cancelled.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(std::ostream& errors) : console_(errors) {}

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;
    std::optional<int> ChooseFunction(const std::string& functionList) override;
    std::optional<std::string> ChooseFileToOpen(const std::string&, const std::string&,
                                                const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
    std::optional<StepEditorFields> EditStep(const StepEditorFields&) override {
        return std::nullopt;
    }
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable&) override {
        return std::nullopt;
    }

private:
    ConsolePrompter console_;
};

}  // namespace tessaly
