#pragma once

#include "platform/Prompter.h"

namespace tessaly {

// Passes every message on to the prompter Target() names; a subclass overrides only what it
// watches or redirects.
class ForwardingPrompter : public Prompter {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        Target().ShowMessage(text, icon);
    }
    bool AskYesNo(const std::string& text) override { return Target().AskYesNo(text); }
    void Beep() override { Target().Beep(); }

protected:
    virtual Prompter& Target() = 0;
};

}  // namespace tessaly
