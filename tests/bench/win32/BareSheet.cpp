// The floor the wizard's start-up is measured against: a one-page wizard-mode property sheet
// with a few controls, built by the same toolchain, static, with the same manifest. It closes
// as soon as its page is on screen, the way the wizard does under TESSALY_STARTUP_PROBE.
#undef UNICODE
#include <windows.h>
// Keeps the order: commctrl.h needs windows.h.
#include <commctrl.h>

#include "tests/bench/win32/BareSheet.h"

namespace {

constexpr UINT kCloseWhenShown = WM_APP + 1;

LRESULT CALLBACK SheetProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    if (message == kCloseWhenShown) {
        // Posted messages come after the sheet was shown; until then, wait once more.
        if (!::IsWindowVisible(hwnd)) {
            ::PostMessageA(hwnd, kCloseWhenShown, 0, 0);
            return 0;
        }
        ::UpdateWindow(hwnd);
        PropSheet_PressButton(hwnd, PSBTN_CANCEL);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &SheetProcedure, 0);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED) {
        ::SetWindowSubclass(hwnd, &SheetProcedure, 0, 0);
        ::PostMessageA(hwnd, kCloseWhenShown, 0, 0);
    }
    return 0;
}

INT_PTR CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY &&
        reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_SETACTIVE)) {
        PropSheet_SetWizButtons(::GetParent(hwnd), PSWIZB_NEXT);
        ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof page;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEA(IDD_BARE_PAGE);
    page.pfnDlgProc = &PageProcedure;
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hInstance = instance;
    header.pszCaption = "Bare Sheet";
    header.nPages = 1;
    header.ppsp = &page;
    header.pfnCallback = &SheetCallback;
    return ::PropertySheetA(&header) < 0 ? 1 : 0;
}
