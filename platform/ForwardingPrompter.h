#pragma once

#include "platform/Prompter.h"

namespace tessaly {

// Passes every question on to the prompter Target() names; a subclass overrides only what it
// watches or redirects.
class ForwardingPrompter : public Prompter {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        Target().ShowMessage(text, icon);
    }
    bool AskYesNo(const std::string& text) override { return Target().AskYesNo(text); }
    void Beep() override { Target().Beep(); }
    std::optional<int> ChooseFunction(const std::string& functionList) override {
        return Target().ChooseFunction(functionList);
    }
    std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                const std::string& defaultExtension) override {
        return Target().ChooseFileToOpen(title, filter, defaultExtension);
    }
    std::optional<std::string> ChooseFolder(const std::string& initialFolder) override {
        return Target().ChooseFolder(initialFolder);
    }
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override {
        return Target().EditStep(initial);
    }
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) override {
        return Target().ChooseAttachedDevice(table);
    }

protected:
    virtual Prompter& Target() = 0;
};

}  // namespace tessaly
