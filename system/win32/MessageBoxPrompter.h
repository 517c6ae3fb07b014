#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "app/ConsolePrompter.h"
#include "platform/Prompter.h"

struct HWND__;  // a window (HWND), named without the Windows headers

namespace tessaly {

// Messages and questions in Windows message boxes captioned with the application title. A box
// that cannot be shown (no desktop, as in a service) leaves its text on `errors` instead, and a
// question is then answered No. `owner` gives the window the user works in, which a box belongs
// to; without one (no window is open) a box is task-modal.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(std::ostream& errors, std::function<HWND__*()> owner = {})
        : console_(errors), owner_(std::move(owner)) {}

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;

private:
    int Box(const std::string& text, unsigned style) const;

    ConsolePrompter console_;
    std::function<HWND__*()> owner_;
};

}  // namespace tessaly
