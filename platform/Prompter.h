#pragma once

#include <string>

namespace tessaly {

enum class MessageIcon { None, Stop, Exclamation, Question };

// The messages the core gives and the questions it asks, so a test can answer them and a run
// without a display can print them. Every message is captioned with the application title. (The
// wizard's own dialogs are the view's: wizard/WizardDialogs.h.)
class Prompter {
public:
    virtual ~Prompter() = default;

    // A modal message with an OK button.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

    // A question with Yes and No; true only for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;

    // The default system beep.
    virtual void Beep() = 0;
};

}  // namespace tessaly
