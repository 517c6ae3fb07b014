#include "system/win32/MessageBoxPrompter.h"

#include "resources/StringTable.h"
#include "system/win32/WindowsApi.h"

namespace tessaly {
namespace {

UINT IconStyle(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return MB_ICONSTOP;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::None:
            break;
    }
    return 0;
}

}  // namespace

int MessageBoxPrompter::Box(const std::string& text, unsigned style) const {
    static const std::string caption(strings::kAppTitle);
    const HWND owner = owner_ ? owner_() : nullptr;
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), style | (owner ? 0 : MB_TASKMODAL));
}

void MessageBoxPrompter::ShowMessage(const std::string& text, MessageIcon icon) {
    // An OK box answers IDOK however it is closed; anything else means it was never shown.
    if (Box(text, MB_OK | IconStyle(icon)) != IDOK) {
        console_.ShowMessage(text, icon);
    }
}

bool MessageBoxPrompter::AskYesNo(const std::string& text) {
    const int answer = Box(text, MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES && answer != IDNO) {
        return console_.AskYesNo(text);
    }
    return answer == IDYES;
}

void MessageBoxPrompter::Beep() {
    ::MessageBeep(MB_OK);
}

}  // namespace tessaly
