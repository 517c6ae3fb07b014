#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace tessaly {

// What a run without the chooser says about a combination module: its functions and the switch
// that picks one.
std::string FunctionSwitchHelp(const std::vector<std::string>& functions);

// The prompter of a run without a display: messages go to a stream (standard error) as
// "Tessaly Wizard: <text>"; questions are answered No.
class ConsolePrompter final : public Prompter {
public:
    explicit ConsolePrompter(std::ostream& out);

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;

private:
    std::ostream& out_;
};

}  // namespace tessaly
