#pragma once

#include "actions/InfInstaller.h"
#include "gui/win32/Win32Dialogs.h"
#include "gui/win32/Win32Prompter.h"
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
    Win32Prompter prompter_;
    RealTimeProductDetector detector_;  // remembers a found product for the whole run
};

}  // namespace tessaly::win32
