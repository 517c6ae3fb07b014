#pragma once

#include "gui/win32/Win32Api.h"
#include "wizard/ControlPresenter.h"
#include "wizard/WizardDialogs.h"

namespace tessaly {
class FileSystem;
}

namespace tessaly::win32 {

// The wizard's dialogs on Windows, each over the window the user works in: the function
// chooser, the step editor and the attached-device picker from their templates, driven by their
// presenters; the system's open-file dialog and the shell's folder picker; the wait cursor and
// work off the window's thread.
class Win32Dialogs final : public WizardDialogs {
public:
    explicit Win32Dialogs(FileSystem& files) : files_(files) {}

    std::optional<int> ChooseFunction(const std::vector<std::string>& functions) override;
    std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& initialFolder) override;
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override;
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) override;
    void WithWaitCursor(const std::function<void()>& job) override;
    void RunWhileBusy(const std::function<void()>& job) override;

    // The wizard sheet while it is open: the owner of what opens when no window is active.
    void SetSheet(HWND sheet) { sheet_ = sheet; }
    // The window a dialog or message box belongs to.
    HWND Owner() const;
    // Work is running: the sheet shows the wait cursor.
    bool busy() const { return busy_ > 0; }

private:
    FileSystem& files_;
    HWND sheet_ = nullptr;
    int busy_ = 0;
};

// Runs the dialog of template `templateId` modally over `owner`, its controls bound to
// `presenter`; true when it closed with OK. `prepare` runs once the presenter has filled it.
bool RunDialog(ControlPresenter& presenter, int templateId, HWND owner,
               const std::function<void(HWND)>& prepare = {});

}  // namespace tessaly::win32
