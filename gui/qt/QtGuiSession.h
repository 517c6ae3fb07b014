#pragma once

#include <QApplication>

#include "actions/InfInstaller.h"
#include "gui/qt/QtDialogs.h"
#include "gui/qt/QtPrompter.h"
#include "gui/qt/QtShell.h"
#include "wizard/GuiModule.h"

namespace tessaly {

// The module's side of a run: the Qt application, its message boxes and the wizard sheet.
class QtGuiSession final : public GuiSession {
public:
    explicit QtGuiSession(const GuiContext& context);
    ~QtGuiSession() override;

    Prompter& prompter() override { return prompter_; }
    WizardDialogs& dialogs() override { return dialogs_; }
    void RunWizard(WizardModel& model, PageId startPage) override;

private:
    GuiContext context_;
    QApplication app_;
    QtShell shell_;      // opens folders through the desktop
    Platform platform_;  // the program's platform with that shell
    QtDialogs dialogs_;
    QtPrompter prompter_;
    RealTimeProductDetector detector_;  // remembers a found product for the whole run
};

}  // namespace tessaly
