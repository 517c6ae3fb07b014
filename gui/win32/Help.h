#pragma once

#include <optional>
#include <string>

#include "gui/win32/Win32Api.h"

namespace tessaly::win32 {

// The help of the Windows view: the Linux help window's pages (resources/help, compiled into the
// program) shown as text. A control's section is found by its name in its dialog's page
// (wizard/ControlIds.h), so both views show the same text for the same control.

// Marks a dialog window with its template number, which tells its help page; the mark goes
// with UnmarkDialog when the window is destroyed.
void MarkDialog(HWND dialog, int templateId);
void UnmarkDialog(HWND dialog);

// The help page of a marked dialog (a wizard page or one of the wizard's dialogs); empty when
// it has none.
std::string HelpPageOfDialog(HWND dialog);

// The help anchor of a control: its own, or for a label the field it names; empty when the
// control has no section.
std::string HelpAnchorOf(HWND control);

// Shows the help window over `owner` at the page's section for `anchor` (the page's top when
// empty or unknown). Modal: it returns when the help window closes.
void ShowHelpTopic(HWND owner, const std::string& page, const std::string& anchor);

// The short help of a control beside it, as What's This shows it; false when the control has no
// section.
bool ShowWhatsThis(HWND control, POINT at);

// A dialog's answer to WM_HELP: F1 (the focused control's topic in the help window), Shift+F1
// or a click in What's This mode (the control's short help).
void AnswerHelpMessage(HWND dialog, const HELPINFO& info);

// The context menu of a control: "What's This?" when it has help.
void ShowContextHelpMenu(HWND control, LPARAM screenPoint);

// What every page and dialog of the view answers alike: WM_HELP, the context menu and, at the
// end of the window, its mark. The dialog procedure's result, or nullopt for other messages.
std::optional<INT_PTR> AnswerHelpMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tessaly::win32
