#pragma once

#include <QStringList>
#include <string>

#include "platform/Prompter.h"

class QWidget;

namespace tessaly {

// Asks the user with modal Qt dialogs over the active window, captioned "Tessaly Wizard".
class QtPrompter final : public Prompter {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    void Beep() override;
    std::optional<int> ChooseFunction(const std::string& functionList) override;
    std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                const std::string& defaultExtension) override;
    std::optional<std::string> ChooseFolder(const std::string& initialFolder) override;
    std::optional<StepEditorFields> EditStep(const StepEditorFields& initial) override;
    std::optional<std::size_t> ChooseAttachedDevice(const DeviceTable& table) override;
};

// The "Name|pattern;pattern|...||" filter in Qt's form: one "Name (patterns)" entry per pair,
// where "*.*" (any file on Windows) becomes "*".
QStringList QtFileFilters(const std::string& filter);

// Message text: UTF-8 when it is valid UTF-8 (paths), else Latin-1 bytes.
QString MessageText(const std::string& bytes);

}  // namespace tessaly
