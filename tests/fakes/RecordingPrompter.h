#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace tessaly::testing {

// Records everything shown and answers from scripted queues; an unscripted question is
// answered No and an unscripted choice is cancelled.
class RecordingPrompter final : public Prompter {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        bool operator==(const Message&) const = default;
    };

    std::vector<Message> messages;  // questions are recorded here too, with the question icon
    int beeps = 0;
    std::vector<std::string> functionLists;
    std::vector<std::string> fileDialogs;       // title|filter|extension of each open-file dialog
    std::vector<std::string> folderDialogs;     // initial folder of each folder dialog
    std::vector<StepEditorFields> stepEditors;  // the texts each step editor opened with
    std::vector<DeviceTable> deviceTables;      // each attached-device chooser's table

    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<int>> functionChoices;
    std::deque<std::optional<std::string>> fileChoices;
    std::deque<std::optional<std::string>> folderChoices;
    std::deque<std::optional<StepEditorFields>> stepEdits;  // what OK gives; nullopt: Cancel
    std::deque<std::optional<std::size_t>> deviceChoices;

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Message& m : messages) {
            texts.push_back(m.text);
        }
        return texts;
    }

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
    }
    bool AskYesNo(const std::string& text) override {
        messages.push_back({text, MessageIcon::Question});
        return Next(yesNoAnswers, false);
    }
    void Beep() override { ++beeps; }
    std::optional<int> ChooseFunction(const std::string& functionList) override {
        functionLists.push_back(functionList);
        return Next(functionChoices, std::optional<int>());
    }
    std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                const std::string& extension) override {
        fileDialogs.push_back(title + "|" + filter + "|" + extension);
        return Next(fileChoices, std::optional<std::string>());
    }
    std::optional<std::string> ChooseFolder(const std::string& initialFolder) override {
        folderDialogs.push_back(initialFolder);
        return Next(folderChoices, std::optional<std::string>());
    }
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override {
        stepEditors.push_back(initial);
        return Next(stepEdits, std::optional<StepEditorFields>());
    }
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) override {
        deviceTables.push_back(table);
        return Next(deviceChoices, std::optional<std::size_t>());
    }

private:
    template <typename T>
    static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace tessaly::testing
