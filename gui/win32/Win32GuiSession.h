#pragma once

#include "actions/InfInstaller.h"
#include "gui/win32/Win32Dialogs.h"
#include "system/win32/MessageBoxPrompter.h"
#include "wizard/GuiModule.h"

namespace tessaly::win32 {

// The view's side of a run on Windows: message boxes, the wizard's dialogs and the sheet. The
// view is linked into the program, which starts it through LinkedGuiModule like a loaded one.
class Win32GuiSession final : public GuiSession {
public:
    explicit Win32GuiSession(const GuiContext& context);

    Prompter& prompter() override { return prompter_; }
    WizardDialogs& dialogs() override { return dialogs_; }
    void RunWizard(WizardModel& model, PageId startPage) override;

private:
    GuiContext context_;
    Win32Dialogs dialogs_;
    MessageBoxPrompter prompter_;       // boxes owned by the sheet while it is open
    RealTimeProductDetector detector_;  // remembers a found product for the whole run
};

}  // namespace tessaly::win32
