#pragma once

#include <ostream>

#include "app/ConsolePrompter.h"
#include "platform/Prompter.h"

namespace tessaly::win32 {

class Win32Dialogs;

// Messages and questions in message boxes owned by the window the user works in (the sheet
// while it is open), captioned with the application title. A box that cannot be shown leaves
// its text on `errors`, and a question is then answered No.
class Win32Prompter final : public Prompter {
public:
    Win32Prompter(const Win32Dialogs& dialogs, std::ostream& errors)
        : dialogs_(dialogs), console_(errors) {}

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;

private:
    int Box(const std::string& text, unsigned style) const;

    const Win32Dialogs& dialogs_;
    ConsolePrompter console_;
};

}  // namespace tessaly::win32
