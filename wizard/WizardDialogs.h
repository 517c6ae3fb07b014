#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discovery/DeviceTable.h"
#include "interrupts/StepEditorFields.h"

namespace tessaly {

// One entry of an open-file dialog's type list: "Module Description Files (*.ini)" and its
// patterns.
struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;

    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

struct OpenFileRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot

    friend bool operator==(const OpenFileRequest&, const OpenFileRequest&) = default;
};

// The wizard's own modal dialogs, which the page presenters open. Each view implements them
// with its toolkit's dialogs, driven by the dialog presenters (StepEditorPresenter,
// FunctionSelectPresenter, AttachedDevicePresenter, DirectoryBrowserPresenter). Messages and
// questions go through the Prompter instead.
class WizardDialogs {
public:
    virtual ~WizardDialogs() = default;

    // The function chooser over the functions of a combination module ("Function0 (0x4021)");
    // the chosen position (0 = first), or nullopt when cancelled.
    virtual std::optional<int> ChooseFunction(const std::vector<std::string>& functions) = 0;

    // The open-file dialog; the chosen path, or nullopt when cancelled.
    virtual std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) = 0;

    // The folder chooser, starting at `initialFolder`; nullopt when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& initialFolder) = 0;

    // The step editor, opened with `initial`; the six texts after OK, or nullopt when cancelled.
    virtual std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) = 0;

    // The attached-device picker; the chosen row's position in `table.rows`, or nullopt when
    // cancelled.
    virtual std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) = 0;

    // Runs `job` under the wait cursor and returns when it has ended.
    virtual void WithWaitCursor(const std::function<void()>& job) = 0;

    // Runs `job` off the window's thread and returns when it has ended; meanwhile the window
    // keeps painting, shows the wait cursor and takes no input.
    virtual void RunWhileBusy(const std::function<void()>& job) = 0;
};

}  // namespace tessaly
