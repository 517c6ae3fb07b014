#include "app/ConsolePrompter.h"

#include "device/TextRules.h"
#include "modulefile/ModuleLoader.h"
#include "resources/StringTable.h"

namespace tessaly {

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

std::string FunctionSwitchHelp(const std::vector<std::string>& functions) {
    return "The module description file describes a combination module; choose one of its "
           "functions with /Function:<n>:\n" +
           NumberedFunctionList(functions);
}

}  // namespace tessaly
