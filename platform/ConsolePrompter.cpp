#include "platform/ConsolePrompter.h"

#include "device/TextRules.h"
#include "resources/StringTable.h"

namespace tessaly {

std::string NumberedFunctionList(const std::string& functionList) {
    std::string lines;
    int number = 1;
    std::size_t start = 0;
    for (std::size_t end = functionList.find(';'); end != std::string::npos;
         end = functionList.find(';', start)) {
        if (number > 1) {
            lines += '\n';
        }
        lines.append(std::to_string(number)).append(". ").append(functionList, start, end - start);
        ++number;
        start = end + 1;
    }
    return lines;
}

ConsolePrompter::ConsolePrompter(std::ostream& out) : out_(out) {}

void ConsolePrompter::ShowMessage(const std::string& text, MessageIcon) {
    // Messages carry paths (UTF-8) and values (Latin-1); a terminal reads UTF-8, so text that is
    // not UTF-8 is taken as Latin-1, as the message box takes it.
    out_ << strings::kAppTitle << ": " << (IsValidUtf8(text) ? text : Latin1ToUtf8(text)) << '\n'
         << std::flush;
}

bool ConsolePrompter::AskYesNo(const std::string& text) {
    ShowMessage(text, MessageIcon::Question);
    return false;
}

void ConsolePrompter::Beep() {
    out_ << '\a' << std::flush;
}

std::string FunctionSwitchHelp(const std::string& functionList) {
    return "The module description file describes a combination module; choose one of its "
           "functions with /Function:<n>:\n" +
           NumberedFunctionList(functionList);
}

std::optional<int> ConsolePrompter::ChooseFunction(const std::string& functionList) {
    // There is no chooser to show: say what there is to choose and how.
    ShowMessage(FunctionSwitchHelp(functionList), MessageIcon::None);
    return std::nullopt;
}

std::optional<std::string> ConsolePrompter::ChooseFileToOpen(const std::string&, const std::string&,
                                                             const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsolePrompter::ChooseFolder(const std::string&) {
    return std::nullopt;
}

std::optional<StepEditorFields> ConsolePrompter::EditStep(const StepEditorFields&) {
    return std::nullopt;
}

std::optional<std::size_t> ConsolePrompter::ChooseAttachedDevice(const DeviceTable&) {
    return std::nullopt;
}

}  // namespace tessaly
