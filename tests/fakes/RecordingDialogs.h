#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "wizard/WizardDialogs.h"

namespace tessaly::testing {

// Records every dialog opened and answers from scripted queues; an unscripted dialog counts as
// cancelled. Busy jobs run at once, or through `busy` when a test gives the view's own.
class RecordingDialogs final : public WizardDialogs {
public:
    std::vector<std::vector<std::string>> functionLists;
    std::vector<OpenFileRequest> fileDialogs;
    std::vector<std::string> folderDialogs;     // initial folder of each folder dialog
    std::vector<StepEditorFields> stepEditors;  // the texts each step editor opened with
    std::vector<DeviceTable> deviceTables;      // each attached-device chooser's table
    int busyJobs = 0;

    std::deque<std::optional<int>> functionChoices;
    std::deque<std::optional<std::string>> fileChoices;
    std::deque<std::optional<std::string>> folderChoices;
    std::deque<std::optional<StepEditorFields>> stepEdits;  // what OK gives; nullopt: Cancel
    std::deque<std::optional<std::size_t>> deviceChoices;
    WizardDialogs* busy = nullptr;

    std::optional<int> ChooseFunction(const std::vector<std::string>& functions) override {
        functionLists.push_back(functions);
        return Next(functionChoices);
    }
    std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override {
        fileDialogs.push_back(request);
        return Next(fileChoices);
    }
    std::optional<std::string> ChooseFolder(const std::string& initialFolder) override {
        folderDialogs.push_back(initialFolder);
        return Next(folderChoices);
    }
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override {
        stepEditors.push_back(initial);
        return Next(stepEdits);
    }
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) override {
        deviceTables.push_back(table);
        return Next(deviceChoices);
    }
    void WithWaitCursor(const std::function<void()>& job) override {
        ++busyJobs;
        busy ? busy->WithWaitCursor(job) : job();
    }
    void RunWhileBusy(const std::function<void()>& job) override {
        ++busyJobs;
        busy ? busy->RunWhileBusy(job) : job();
    }

private:
    template <typename T>
    static T Next(std::deque<T>& queue) {
        if (queue.empty()) {
            return T();
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace tessaly::testing
