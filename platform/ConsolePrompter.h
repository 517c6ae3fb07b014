#pragma once

#include <ostream>
#include <string>

#include "platform/Prompter.h"

namespace tessaly {

// The entries of a function description list, one a line and numbered from 1 as the chooser
// lists them ("1. Function1 (0x1111)"); empty when the list has none.
std::string NumberedFunctionList(const std::string& functionList);

// What a run without the chooser says about a combination module: its functions and the switch
// that picks one.
std::string FunctionSwitchHelp(const std::string& functionList);

// The prompter of a run without a display: messages go to a stream (standard error) as
// "Tessaly Wizard: <text>"; questions are answered No and choices (the step editor too) count as
// cancelled. A function choice lists the functions and the switch that picks one.
class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(std::ostream& out);

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
    std::ostream& out_;
};

}  // namespace tessaly
