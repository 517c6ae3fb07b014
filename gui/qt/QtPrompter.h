#pragma once

#include <QString>
#include <string>

#include "platform/Prompter.h"

namespace tessaly {

// Asks the user with modal Qt message boxes over the active window, captioned "Tessaly Wizard".
class QtPrompter final : public Prompter {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;
};

// Message text: UTF-8 when it is valid UTF-8 (paths), else Latin-1 bytes.
QString MessageText(const std::string& bytes);

}  // namespace tessaly
