#pragma once

#include <ostream>

#include "app/ConsolePrompter.h"
#include "platform/Prompter.h"

namespace tessaly {

// Messages and questions in Windows message boxes captioned with the application title, for
// when the window module is not there. A box that cannot be shown (no desktop, as in a service)
// leaves its text on `errors` instead, and a question is then answered No.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(std::ostream& errors) : console_(errors) {}

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;

private:
    ConsolePrompter console_;
};

}  // namespace tessaly
