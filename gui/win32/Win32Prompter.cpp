#include "gui/win32/Win32Prompter.h"

#include "gui/win32/Win32Dialogs.h"
#include "resources/StringTable.h"

namespace tessaly::win32 {
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

// 0 when the box could not be shown (no desktop, as in a service).
int Win32Prompter::Box(const std::string& text, unsigned style) const {
    static const std::string caption(strings::kAppTitle);
    const HWND owner = dialogs_.Owner();
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), style | (owner ? 0 : MB_TASKMODAL));
}

void Win32Prompter::ShowMessage(const std::string& text, MessageIcon icon) {
    if (Box(text, MB_OK | IconStyle(icon)) != IDOK) {
        console_.ShowMessage(text, icon);
    }
}

bool Win32Prompter::AskYesNo(const std::string& text) {
    const int answer = Box(text, MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES && answer != IDNO) {
        return console_.AskYesNo(text);
    }
    return answer == IDYES;
}

void Win32Prompter::Beep() {
    ::MessageBeep(MB_OK);
}

}  // namespace tessaly::win32
