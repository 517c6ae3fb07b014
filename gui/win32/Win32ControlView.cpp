#include "gui/win32/Win32ControlView.h"

#include <algorithm>
#include <cstring>

#include "gui/win32/AnsiText.h"
#include "gui/win32/Resource.h"
#include "wizard/PageIds.h"

namespace tessaly::win32 {
namespace {

// Controls that show and hide with a control the presenter names: the parts of a message that
// the presenter sees as one.
struct Companion {
    int dialog;
    ControlId control;
    int shownWith;
};

constexpr Companion kCompanions[] = {
    {kPageFinal, kHazardText, IDC_HAZARD_ICON},
    {kPageFinal, kHazardText, IDC_HAZARD_HEADING},
};

// How long a field's refusal note stays, unless the user types or leaves the field first.
constexpr UINT kNoteMilliseconds = 6000;
constexpr UINT_PTR kNoteTimer = 1;
constexpr char kNoteProperty[] = "TessalyRefusalNote";

// Class names compare after a version prefix ("6.0.0.0!Edit"), which common controls 6 may give.
bool IsClass(HWND window, const char* name) {
    char kind[64] = {};
    ::GetClassNameA(window, kind, sizeof kind);
    const char* base = std::strrchr(kind, '!');
    return ::lstrcmpiA(base ? base + 1 : kind, name) == 0;
}

bool IsCheckable(HWND button) {
    switch (::GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return true;
        default:
            return false;
    }
}

bool ModifierDown() {
    return (::GetKeyState(VK_CONTROL) | ::GetKeyState(VK_MENU) | ::GetKeyState(VK_SHIFT)) & 0x8000;
}

int ScreenDpi(HWND window) {
    const HDC dc = ::GetDC(window);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(window, dc);
    return dpi;
}

// The width of a digit in the window's font, as wide as its widest usual character.
int DigitWidth(HWND window) {
    const HDC dc = ::GetDC(window);
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, "0", 1, &size);
    if (old) {
        ::SelectObject(dc, old);
    }
    ::ReleaseDC(window, dc);
    return size.cx;
}

void CALLBACK HideNote(HWND field, UINT, UINT_PTR, DWORD) {
    ::KillTimer(field, kNoteTimer);
    if (const auto note = static_cast<HWND>(::GetPropA(field, kNoteProperty))) {
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = field;
        tool.uId = reinterpret_cast<UINT_PTR>(field);
        ::SendMessageA(note, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace

Win32ControlView::Win32ControlView(ControlPresenter& presenter, HWND dialog,
                                   std::function<void(bool)> close)
    : presenter_(presenter), dialog_(dialog), close_(std::move(close)) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const bool list = IsClass(child, WC_LISTVIEWA);
        if (list) {
            ListView_SetExtendedListViewStyle(child, LVS_EX_FULLROWSELECT);
        }
        if (list || IsClass(child, "Edit") || IsClass(child, "ComboBox")) {
            ::SetWindowSubclass(child, &Win32ControlView::ControlProcedure, 0,
                                reinterpret_cast<DWORD_PTR>(this));
        }
        if (IsClass(child, "Edit")) {
            accepted_[static_cast<ControlId>(::GetDlgCtrlID(child))] = WindowText(child);
        }
    }
}

Win32ControlView::~Win32ControlView() {
    for (HWND child = ::IsWindow(dialog_) ? ::GetWindow(dialog_, GW_CHILD) : nullptr; child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::RemoveWindowSubclass(child, &Win32ControlView::ControlProcedure, 0);
        ::RemovePropA(child, kNoteProperty);
    }
    if (note_) {
        ::DestroyWindow(note_);
    }
}

HWND Win32ControlView::Control(ControlId control) const {
    return ::GetDlgItem(dialog_, control);
}

std::optional<ControlId> Win32ControlView::IdOf(HWND window) const {
    for (HWND w = window; w && w != dialog_; w = ::GetParent(w)) {
        if (::GetParent(w) == dialog_) {
            const int id = ::GetDlgCtrlID(w);
            return id > 0 ? std::optional(static_cast<ControlId>(id)) : std::nullopt;
        }
    }
    return std::nullopt;
}

std::string Win32ControlView::ToShown(ControlId control, const std::string& text) const {
    return ControlEncoding(presenter_.dialog(), control) == TextEncoding::Utf8 ? Utf8ToAnsi(text)
                                                                               : text;
}

std::string Win32ControlView::FromShown(ControlId control, const std::string& text) const {
    return ControlEncoding(presenter_.dialog(), control) == TextEncoding::Utf8 ? AnsiToUtf8(text)
                                                                               : text;
}

bool Win32ControlView::OnCommand(WPARAM wParam, LPARAM lParam) {
    const auto control = static_cast<ControlId>(LOWORD(wParam));
    const HWND window = lParam ? reinterpret_cast<HWND>(lParam) : Control(control);
    if (!window || ::GetParent(window) != dialog_) {
        return false;
    }
    switch (HIWORD(wParam)) {
        case BN_CLICKED:
            // Enter and Escape in a dialog come as clicks of OK and Cancel.
            if (IsClass(window, "Button")) {
                if (IsCheckable(window)) {
                    presenter_.OnChecked(control,
                                         ::IsDlgButtonChecked(dialog_, control) == BST_CHECKED);
                } else {
                    presenter_.OnClicked(control);
                }
                return true;
            }
            return false;
        case EN_CHANGE:
            if (applying_ == 0) {
                FieldChanged(control, window);
            }
            return true;
        case CBN_SELCHANGE:
            if (applying_ == 0) {
                presenter_.OnItemChosen(
                    control, static_cast<int>(::SendMessageA(window, CB_GETCURSEL, 0, 0)));
            }
            return true;
        default:
            return false;
    }
}

bool Win32ControlView::OnNotify(const NMHDR& header, LRESULT& result) {
    const HWND list = header.hwndFrom;
    if (::GetParent(list) != dialog_ || !IsClass(list, WC_LISTVIEWA)) {
        return false;
    }
    const auto control = static_cast<ControlId>(header.idFrom);
    result = 0;
    switch (header.code) {
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const bool selection = (change.uChanged & LVIF_STATE) &&
                                   ((change.uNewState ^ change.uOldState) & LVIS_SELECTED);
            if (selection && applying_ == 0) {
                presenter_.OnSelectionChanged(control);
            }
            return true;
        }
        case NM_DBLCLK: {
            const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
            if (row >= 0) {
                presenter_.OnRowActivated(control, static_cast<std::size_t>(row));
            }
            return true;
        }
        case LVN_KEYDOWN: {
            const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
            if (!ModifierDown() && (key == VK_F2 || key == VK_DELETE)) {
                presenter_.OnRowKey(control, key == VK_F2 ? RowKey::Edit : RowKey::Remove);
            }
            return true;
        }
        case NM_RETURN:
            if (!presenter_.OnRowKey(control, RowKey::Enter)) {
                PressDefaultButton();
            }
            return true;
        default:
            return false;
    }
}

// The list took Enter for its presenter, which left it: the dialog's default button gets it,
// as the dialog manager would have given it.
void Win32ControlView::PressDefaultButton() const {
    const HWND root = ::GetAncestor(dialog_, GA_ROOT);
    const auto answer = static_cast<DWORD>(::SendMessageA(root, DM_GETDEFID, 0, 0));
    if (HIWORD(answer) != DC_HASDEFID) {
        return;
    }
    const HWND button = ::GetDlgItem(root, LOWORD(answer));
    if (button && ::IsWindowEnabled(button)) {
        ::PostMessageA(root, WM_COMMAND, MAKEWPARAM(LOWORD(answer), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
}

// Asks the presenter before the field keeps what the user put in; a refused text is taken back.
// The ANSI code page lacks more than Latin-1 where the code page is not Western, and paths may
// hold anything the code page has.
void Win32ControlView::FieldChanged(ControlId control, HWND field) {
    const std::string typed = TypedTextUtf8(field);
    std::optional<std::string> refusal = presenter_.RefusalOf(control, typed);
    if (!refusal) {
        if (const std::string lacking = CharactersAnsiLacks(typed); !lacking.empty()) {
            refusal = CodePageRefusal(lacking, "the Windows ANSI code page of this computer");
        }
    }
    if (refusal) {
        const std::string& kept = accepted_[control];
        DWORD caret = 0;
        ::SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
        const auto added = static_cast<DWORD>(
            std::max(0, ::GetWindowTextLengthA(field) - static_cast<int>(kept.size())));
        ++applying_;
        ::SetWindowTextA(field, kept.c_str());
        const DWORD at = caret > added ? caret - added : 0;
        ::SendMessageA(field, EM_SETSEL, at, at);
        --applying_;
        if (!refusal->empty()) {
            ShowNote(field, *refusal);
        }
        return;
    }
    const std::string text = WindowText(field);
    accepted_[control] = text;
    presenter_.OnTextChanged(control, FromShown(control, text));
}

// A balloon under the field, which goes with the next key, the focus or after a while.
void Win32ControlView::ShowNote(HWND field, const std::string& utf8) {
    if (!note_) {
        note_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                  WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                  dialog_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (!note_) {
            return;
        }
        ::SendMessageA(note_, TTM_SETMAXTIPWIDTH, 0, ::MulDiv(300, ScreenDpi(dialog_), 96));
    }
    std::string text = Utf8ToAnsi(utf8);
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = field;
    tool.uId = reinterpret_cast<UINT_PTR>(field);
    tool.lpszText = text.data();
    if (!::GetPropA(field, kNoteProperty)) {
        ::SendMessageA(note_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        ::SetPropA(field, kNoteProperty, note_);
    }
    ::SendMessageA(note_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    RECT box;
    ::GetWindowRect(field, &box);
    ::SendMessageA(note_, TTM_TRACKPOSITION, 0, MAKELPARAM((box.left + box.right) / 2, box.bottom));
    ::SendMessageA(note_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    ::SetTimer(field, kNoteTimer, kNoteMilliseconds, &HideNote);
}

LRESULT CALLBACK Win32ControlView::ControlProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                    LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* view = reinterpret_cast<Win32ControlView*>(data);
    switch (message) {
        case WM_GETDLGCODE: {
            // A report-style list offers Enter to its presenter before the default button.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN &&
                IsClass(hwnd, WC_LISTVIEWA)) {
                return ::DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
            }
            break;
        }
        case WM_KEYDOWN:
            HideNote(hwnd, 0, 0, 0);
            break;
        case WM_KILLFOCUS: {
            HideNote(hwnd, 0, 0, 0);
            const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            // Only a move to another control of the same window leaves the field: a message box
            // or another program taking the focus does not.
            const auto to = reinterpret_cast<HWND>(wParam);
            const auto control = view->IdOf(hwnd);
            if (control && to && ::GetAncestor(to, GA_ROOT) == ::GetAncestor(hwnd, GA_ROOT)) {
                view->presenter_.OnFocusLeft(*control);
            }
            return result;
        }
        case WM_NCDESTROY:
            ::KillTimer(hwnd, kNoteTimer);
            ::RemovePropA(hwnd, kNoteProperty);
            ::RemoveWindowSubclass(hwnd, &Win32ControlView::ControlProcedure, 0);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void Win32ControlView::SetText(ControlId control, const std::string& text) {
    const HWND window = Control(control);
    if (!window) {
        return;
    }
    const std::string shown = ToShown(control, text);
    ++applying_;
    if (IsClass(window, "Edit")) {
        // Only a change: typing keeps its caret. A text set here shows its start.
        if (WindowText(window) != shown) {
            ::SetWindowTextA(window, shown.c_str());
            ::SendMessageA(window, EM_SETSEL, 0, 0);
        }
        accepted_[control] = shown;
    } else {
        ::SetWindowTextA(window, shown.c_str());
    }
    --applying_;
}

void Win32ControlView::SetEnabled(ControlId control, bool enabled) {
    const HWND window = Control(control);
    if (!window || (::IsWindowEnabled(window) != FALSE) == enabled) {
        return;
    }
    const bool focused = ::GetFocus() == window;
    ::EnableWindow(window, enabled);
    // The keyboard is never left on a control that cannot take it.
    if (focused && !enabled) {
        ::SendMessageA(::GetAncestor(dialog_, GA_ROOT), WM_NEXTDLGCTL, 0, FALSE);
    }
}

void Win32ControlView::SetChecked(ControlId control, bool checked) {
    ::CheckDlgButton(dialog_, control, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32ControlView::SetVisible(ControlId control, bool visible) {
    std::vector<HWND> windows = {Control(control)};
    for (const Companion& companion : kCompanions) {
        if (companion.dialog == presenter_.dialog() && companion.control == control) {
            windows.push_back(::GetDlgItem(dialog_, companion.shownWith));
        }
    }
    for (const HWND window : windows) {
        if (window) {
            ::ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
        }
    }
}

void Win32ControlView::SetFocus(ControlId control) {
    // Through the top window's dialog manager, so the default button follows the focus, and
    // posted, so it comes after the focus the dialog or the sheet sets when it opens a page.
    if (const HWND window = Control(control)) {
        ::PostMessageA(::GetAncestor(dialog_, GA_ROOT), WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(window), TRUE);
    }
}

void Win32ControlView::SetItems(ControlId control, const std::vector<std::string>& items) {
    const HWND combo = Control(control);
    ++applying_;
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
        const std::string shown = ToShown(control, item);
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    --applying_;
}

void Win32ControlView::SetCurrentItem(ControlId control, int index) {
    ++applying_;
    ::SendMessageA(Control(control), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    --applying_;
}

void Win32ControlView::SetColumns(ControlId control, const std::vector<ListColumn>& columns) {
    const HWND list = Control(control);
    columns_[control] = columns;
    while (::SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::string title = ToShown(control, columns[c].title);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.pszText = const_cast<char*>(title.c_str());
        ::SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    FitColumns(control);
}

// Columns in pixels take them at the screen's DPI; the others their texts' width, up to their
// characters, and never less than their title needs.
void Win32ControlView::FitColumns(ControlId control) {
    const HWND list = Control(control);
    const std::vector<ListColumn>& columns = columns_[control];
    const int dpi = ScreenDpi(list);
    const int digit = DigitWidth(list);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const auto column = static_cast<WPARAM>(c);
        if (columns[c].pixels > 0) {
            ::SendMessageA(list, LVM_SETCOLUMNWIDTH, column, ::MulDiv(columns[c].pixels, dpi, 96));
            continue;
        }
        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
        const auto fitted = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
        // Digits are narrower than most letters: a cap counted in digits can cut the title.
        const std::string title = ToShown(control, columns[c].title);
        const auto titleWidth = static_cast<int>(
            ::SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(title.c_str())));
        const int widest = columns[c].characters * digit + ::MulDiv(12, dpi, 96);
        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, column,
                       std::max(std::min(fitted, widest), titleWidth + ::MulDiv(16, dpi, 96)));
    }
}

void Win32ControlView::SetRows(ControlId control,
                               const std::vector<std::vector<std::string>>& rows) {
    ++applying_;
    ::SendMessageA(Control(control), LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        InsertRow(control, r, rows[r]);
    }
    FitColumns(control);
    --applying_;
}

void Win32ControlView::InsertRow(ControlId control, std::size_t row,
                                 const std::vector<std::string>& cells) {
    ++applying_;
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    const std::string first = cells.empty() ? std::string() : ToShown(control, cells.front());
    item.pszText = const_cast<char*>(first.c_str());
    ::SendMessageA(Control(control), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    SetRow(control, row, cells);
    --applying_;
}

void Win32ControlView::SetRow(ControlId control, std::size_t row,
                              const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const std::string text = ToShown(control, cells[c]);
        LVITEMA item = {};
        item.iSubItem = static_cast<int>(c);
        item.pszText = const_cast<char*>(text.c_str());
        ::SendMessageA(Control(control), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
}

void Win32ControlView::RemoveRow(ControlId control, std::size_t row) {
    ++applying_;
    ::SendMessageA(Control(control), LVM_DELETEITEM, row, 0);
    --applying_;
}

void Win32ControlView::SelectRow(ControlId control, std::size_t row) {
    const HWND list = Control(control);
    ++applying_;
    ListView_SetItemState(list, static_cast<int>(row), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, static_cast<int>(row), FALSE);
    --applying_;
}

std::vector<std::size_t> Win32ControlView::SelectedRows(ControlId control) const {
    std::vector<std::size_t> rows;
    const HWND list = Control(control);
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        rows.push_back(static_cast<std::size_t>(row));
    }
    return rows;
}

void Win32ControlView::Beep() {
    ::MessageBeep(MB_OK);
}

void Win32ControlView::Close(bool accepted) {
    if (close_) {
        close_(accepted);
    }
}

}  // namespace tessaly::win32
