#include "gui/win32/WizardSheet.h"

#include <algorithm>
#include <cctype>

#include "gui/win32/Help.h"
#include "gui/win32/Resource.h"
#include "gui/win32/Win32Dialogs.h"
#include "resources/StringTable.h"

namespace tessaly::win32 {
namespace {

// The property sheet's own buttons.
constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;

// Posted to the sheet once it is on screen, when it is to close at once.
constexpr UINT kCloseWhenShown = WM_APP + 1;
// Posted by a page that sets the title on activation: the property sheet shows the page's own
// title once the page is active, and this comes after it.
constexpr UINT kApplyTitle = WM_APP + 2;

INT_PTR Answer(HWND hwnd, LRESULT result) {
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// A page's answer as the property sheet takes it: the template number, or -1 to stay.
LRESULT Target(const std::optional<PageId>& page) {
    return page ? static_cast<LRESULT>(*page) : -1;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// True when `text` marks `key` as its mnemonic ("&&" is a plain ampersand).
bool HasMnemonic(const char* text, char key) {
    for (const char* c = text; c[0] && c[1]; ++c) {
        if (c[0] == '&' && c[1] == '&') {
            ++c;
        } else if (c[0] == '&') {
            return Lower(c[1]) == Lower(key);
        }
    }
    return false;
}

// The control of `page` that takes `key`: the first visible, enabled one with that mnemonic
// after `focus` in the page's order, round to the start, as the dialog manager searches.
HWND MnemonicTarget(HWND page, HWND focus, char key) {
    std::vector<HWND> children;
    std::size_t start = 0;
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
        if (child == focus || ::IsChild(child, focus)) {
            start = children.size();
        }
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        const HWND child = children[(start + i) % children.size()];
        char text[256] = {};
        if (::IsWindowVisible(child) && ::IsWindowEnabled(child) &&
            ::GetWindowTextA(child, text, sizeof text) && HasMnemonic(text, key)) {
            return child;
        }
    }
    return nullptr;
}

// What the mnemonic of `control` does: a label or group box moves the focus to the control after
// it, a button takes the focus and is pressed.
void TakeMnemonic(HWND page, HWND control) {
    const HWND root = ::GetAncestor(page, GA_ROOT);
    const auto code = ::SendMessageA(control, WM_GETDLGCODE, 0, 0);
    const bool groupBox = (::GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if ((code & DLGC_STATIC) || ((code & DLGC_BUTTON) && groupBox)) {
        if (const HWND next = ::GetNextDlgTabItem(page, control, FALSE)) {
            ::SendMessageA(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        }
        return;
    }
    ::SendMessageA(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    // Posted: a button that opens a dialog runs it from the sheet's own message loop.
    ::PostMessageA(control, BM_CLICK, 0, 0);
}

}  // namespace

WizardSheet::WizardSheet(WizardModel& model, const WizardServices& services, Win32Dialogs& dialogs,
                         PageId startPage)
    : presenter_(model, services, startPage), dialogs_(dialogs) {
    presenter_.Attach(*this);
    for (const auto& page : presenter_.pages()) {
        pages_.push_back({this, page.get(), nullptr});
    }
}

WizardSheet::~WizardSheet() = default;

void WizardSheet::Run() {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    std::vector<PROPSHEETPAGEA> sheetPages(pages_.size());
    UINT start = 0;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const PagePresenter& page = *pages_[i].presenter;
        PROPSHEETPAGEA& p = sheetPages[i];
        p.dwSize = sizeof p;
        p.dwFlags = PSP_USETITLE | PSP_HASHELP;
        p.hInstance = instance;
        p.pszTemplate = MAKEINTRESOURCEA(page.id());
        p.pfnDlgProc = &WizardSheet::PageProcedure;
        p.pszTitle = page.title().c_str();
        p.lParam = reinterpret_cast<LPARAM>(&pages_[i]);
        if (page.id() == presenter_.StartPage()) {
            start = static_cast<UINT>(i);
        }
    }
    static const std::string caption(strings::kAppTitle);
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_HASHELP | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hInstance = instance;
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(sheetPages.size());
    header.nStartPage = start;
    header.ppsp = sheetPages.data();
    header.pfnCallback = &WizardSheet::SheetCallback;

    WizardSheet* const outer = open_;
    open_ = this;
    const HHOOK hook = ::SetWindowsHookExA(WH_MSGFILTER, &WizardSheet::MnemonicHook, nullptr,
                                           ::GetCurrentThreadId());
    ::PropertySheetA(&header);
    if (hook) {
        ::UnhookWindowsHookEx(hook);
    }
    open_ = outer;
    hwnd_ = nullptr;
    dialogs_.SetSheet(nullptr);
}

INT_PTR CALLBACK WizardSheet::PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto& page =
            *reinterpret_cast<Page*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(&page));
        MarkDialog(hwnd, page.presenter->id());
        // The one picture a template cannot name: the system's warning sign beside the hazards,
        // at the size of the small icons, as high as the heading's line.
        const int size = ::GetSystemMetrics(SM_CXSMICON);
        ::SendDlgItemMessageA(hwnd, IDC_HAZARD_ICON, STM_SETIMAGE, IMAGE_ICON,
                              reinterpret_cast<LPARAM>(::LoadImageA(
                                  nullptr, IDI_WARNING, IMAGE_ICON, size, size, LR_SHARED)));
        page.view = std::make_unique<Win32ControlView>(*page.presenter, hwnd);
        page.presenter->Attach(*page.view);
        return TRUE;
    }
    auto* page = reinterpret_cast<Page*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!page || !page->view) {
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            return page->view->OnCommand(wParam, lParam) ? TRUE : FALSE;
        case WM_NOTIFY:
            return page->sheet->OnPageNotify(*page, *reinterpret_cast<const NMHDR*>(lParam));
        default:
            return AnswerHelpMessages(hwnd, message, wParam, lParam).value_or(FALSE);
    }
}

INT_PTR WizardSheet::OnPageNotify(Page& page, const NMHDR& header) {
    const HWND hwnd = page.view->hwnd();
    switch (header.code) {
        case PSN_SETACTIVE:
            presenter_.Activated(page.presenter->id());
            return Answer(hwnd, 0);
        case PSN_WIZNEXT:
            return Answer(hwnd, Target(presenter_.Next(Focused(page))));
        case PSN_WIZBACK:
            return Answer(hwnd, Target(presenter_.Back(Focused(page))));
        case PSN_WIZFINISH:
            return Answer(hwnd, presenter_.Finish(Focused(page)) ? FALSE : TRUE);
        case PSN_QUERYCANCEL:
            return Answer(hwnd, presenter_.Cancel() ? FALSE : TRUE);
        case PSN_HELP:
            ShowPageHelp();
            return TRUE;
        default: {
            LRESULT result = 0;
            return page.view->OnNotify(header, result) ? Answer(hwnd, result) : FALSE;
        }
    }
}

// The page's control that has the keyboard focus (Enter in a field presses Next).
std::optional<ControlId> WizardSheet::Focused(const Page& page) const {
    return page.view->IdOf(::GetFocus());
}

int CALLBACK WizardSheet::SheetCallback(HWND hwnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && open_) {
        open_->OnCreated(hwnd);
    }
    return 0;
}

void WizardSheet::OnCreated(HWND hwnd) {
    hwnd_ = hwnd;
    dialogs_.SetSheet(hwnd);
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    for (const auto& [which, size] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        const int pixels = ::GetSystemMetrics(size);
        const HANDLE icon = ::LoadImageA(instance, MAKEINTRESOURCEA(IDI_WIZARD), IMAGE_ICON, pixels,
                                         pixels, LR_SHARED);
        ::SendMessageA(hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
    // No system menu and no close box: the wizard ends through its own buttons.
    ::SetWindowLongPtrA(hwnd, GWL_STYLE, ::GetWindowLongPtrA(hwnd, GWL_STYLE) & ~WS_SYSMENU);
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::SetWindowSubclass(hwnd, &WizardSheet::SheetProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    if (closeWhenShown_) {
        ::PostMessageA(hwnd, kCloseWhenShown, 0, 0);
    }
}

LRESULT CALLBACK WizardSheet::SheetProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR data) {
    auto* sheet = reinterpret_cast<WizardSheet*>(data);
    switch (message) {
        case kCloseWhenShown:
            // Posted messages come after the sheet was shown and painted its first page.
            if (!::IsWindowVisible(hwnd)) {
                ::PostMessageA(hwnd, kCloseWhenShown, 0, 0);
                return 0;
            }
            ::UpdateWindow(hwnd);
            sheet->shownAt_ = std::chrono::steady_clock::now();
            PropSheet_PressButton(hwnd, PSBTN_CANCEL);
            return 0;
        case kApplyTitle:
            ::SetWindowTextA(hwnd, sheet->title_.c_str());
            return 0;
        case WM_HELP:
            // F1 on one of the sheet's own buttons: the page's topic.
            sheet->ShowPageHelp();
            return TRUE;
        case WM_SETCURSOR:
            if (sheet->dialogs_.busy()) {
                ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));
                return TRUE;
            }
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(hwnd, &WizardSheet::SheetProcedure, 0);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// A mnemonic that a control of the page and a button of the sheet share ("Add a step &before"
// and "< &Back") goes to the page's control unless the focus is on one of the sheet's buttons,
// as on Linux: the control nearest the focus wins. The sheet's dialog manager would take the
// first match after the focus, which can be the sheet's button; the page's own dialog manager
// hands the key to the sheet's. The dialog manager offers every key to this hook first.
LRESULT CALLBACK WizardSheet::MnemonicHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message->message == WM_SYSCHAR && open_ && open_->hwnd_) {
        const HWND sheet = open_->hwnd_;
        const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        const HWND focus = ::GetFocus();
        // Not for the dialogs the sheet opens, nor from the sheet's own buttons.
        const bool onPage = focus && (focus == sheet || focus == page || ::IsChild(page, focus));
        const HWND target = page && onPage
                                ? MnemonicTarget(page, focus, static_cast<char>(message->wParam))
                                : nullptr;
        if (target) {
            TakeMnemonic(page, target);
            return TRUE;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void WizardSheet::SetButtons(unsigned flags) {
    buttons_ = flags;
    DWORD buttons = 0;
    buttons |= (flags & kButtonBack) ? PSWIZB_BACK : 0;
    buttons |= (flags & kButtonNext) ? PSWIZB_NEXT : 0;
    buttons |= (flags & kButtonFinish) ? PSWIZB_FINISH : 0;
    buttons |= (flags & kButtonDisabledFinish) ? PSWIZB_DISABLEDFINISH : 0;
    if (hwnd_) {
        PropSheet_SetWizButtons(hwnd_, buttons);
    }
}

void WizardSheet::SetTitle(const std::string& title) {
    title_ = title;
    if (hwnd_) {
        ::SetWindowTextA(hwnd_, title.c_str());
        ::PostMessageA(hwnd_, kApplyTitle, 0, 0);
    }
}

void WizardSheet::FocusForwardButton() {
    const bool finish = (buttons_ & (kButtonFinish | kButtonDisabledFinish)) != 0;
    if (const HWND button =
            hwnd_ ? ::GetDlgItem(hwnd_, finish ? kFinishButton : kNextButton) : nullptr) {
        ::PostMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
    }
}

void WizardSheet::FocusFirstControl() {
    if (!hwnd_) {
        return;
    }
    const Page& page = pages_[static_cast<std::size_t>(
        std::find_if(pages_.begin(), pages_.end(),
                     [&](const Page& p) { return p.presenter->id() == presenter_.ActivePage(); }) -
        pages_.begin())];
    HWND first = page.view ? ::GetNextDlgTabItem(page.view->hwnd(), nullptr, FALSE) : nullptr;
    if (!first) {
        first = ::GetDlgItem(hwnd_, kBackButton);
    }
    ::PostMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

void WizardSheet::ShowPageHelp() const {
    if (hwnd_) {
        ShowHelpTopic(hwnd_, std::string(HelpPageOf(presenter_.ActivePage())), {});
    }
}

}  // namespace tessaly::win32
