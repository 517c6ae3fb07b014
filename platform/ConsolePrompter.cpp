#include "platform/ConsolePrompter.h"

#include "resources/StringTable.h"

namespace tessaly {

ConsolePrompter::ConsolePrompter(std::ostream& out) : out_(out) {}

void ConsolePrompter::ShowMessage(const std::string& text, MessageIcon) {
    out_ << strings::kAppTitle << ": " << text << '\n' << std::flush;
}

bool ConsolePrompter::AskYesNo(const std::string& text) {
    ShowMessage(text, MessageIcon::Question);
    return false;
}

void ConsolePrompter::Beep() {
    out_ << '\a' << std::flush;
}

std::optional<int> ConsolePrompter::ChooseFunction(const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsolePrompter::ChooseFileToOpen(const std::string&, const std::string&,
                                                             const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsolePrompter::ChooseFolder(const std::string&) {
    return std::nullopt;
}

std::optional<std::size_t> ConsolePrompter::ChooseAttachedDevice(const DeviceTable&) {
    return std::nullopt;
}

}  // namespace tessaly
