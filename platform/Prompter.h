#pragma once

#include <optional>
#include <string>

#include "discovery/DeviceTable.h"
#include "interrupts/StepEditorFields.h"

namespace tessaly {

enum class MessageIcon { None, Stop, Exclamation, Question };

// Everything that asks or tells the user goes through this, so a test can answer it and a run
// without a display can print it. Every message is captioned with the application title.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A modal message with an OK button.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

    // A question with Yes and No; true only for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;

    // The default system beep.
    virtual void Beep() = 0;

    // Lets the user choose one function of a combination module. `functionList` is the
    // function description list ("Section (registration);" entries). Returns the chosen
    // position (0 = first entry), or nullopt when cancelled.
    virtual std::optional<int> ChooseFunction(const std::string& functionList) = 0;

    // The open-file dialog; nullopt when cancelled. `filter` uses the "Name|pattern|...||" form.
    virtual std::optional<std::string> ChooseFileToOpen(const std::string& title,
                                                        const std::string& filter,
                                                        const std::string& defaultExtension) = 0;

    // The folder chooser, starting at `initialFolder`; nullopt when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& initialFolder) = 0;

    // The step editor, opened with `initial`; the six texts after OK, or nullopt when
    // cancelled.
    virtual std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) = 0;

    // Lets the user pick one of the attached devices; the chosen row's position in
    // `table.rows`, or nullopt when cancelled.
    virtual std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) = 0;
};

}  // namespace tessaly
