#pragma once

#include "wizard/WizardDialogs.h"

namespace tessaly {

class FileSystem;

// The wizard's dialogs as Qt dialogs over the active window, each driven by its presenter.
class QtDialogs final : public WizardDialogs {
public:
    explicit QtDialogs(FileSystem& files) : files_(files) {}

    std::optional<int> ChooseFunction(const std::vector<std::string>& functions) override;
    std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override;
    std::optional<std::string> ChooseFolder(const std::string& initialFolder) override;
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override;
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) override;
    void WithWaitCursor(const std::function<void()>& job) override;
    void RunWhileBusy(const std::function<void()>& job) override;

private:
    FileSystem& files_;
};

}  // namespace tessaly
