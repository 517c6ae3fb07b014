#include "gui/win32/Help.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "gui/win32/AnsiText.h"
#include "gui/win32/Resource.h"
#include "wizard/ControlIds.h"
#include "wizard/HelpText.h"

namespace tessaly::win32 {
namespace {

// The property naming a dialog's template, from which its help page follows.
constexpr char kDialogIdProperty[] = "TessalyDialogId";

// The help window's own controls, which the presenters do not name.
struct OwnAnchor {
    int control;
    const char* anchor;
};
constexpr OwnAnchor kHelpWindowAnchors[] = {
    {IDC_HELP_TOPICS, "helpContents"},
    {IDC_HELP_TEXT, "helpBrowser"},
    {IDCANCEL, "helpCloseButton"},
};

// The pages in the order the help window lists them.
constexpr const char* kHelpPages[] = {
    "index.html",       "page102.html", "page110.html",   "page109.html", "devices.html",
    "page103.html",     "page104.html", "dialog106.html", "page105.html", "folderbrowser.html",
    "page111.html",     "page108.html", "dialog129.html", "files.html",   "steps.html",
    "commandline.html", "help.html",
};

// Pages are read from the program's resources once; help lives on the window thread only.
const HelpPage& LoadHelpPage(const std::string& name) {
    static std::map<std::string, HelpPage> pages;
    auto found = pages.find(name);
    if (found != pages.end()) {
        return found->second;
    }
    std::string html;
    const HMODULE module = ::GetModuleHandleA(nullptr);
    if (const HRSRC resource = ::FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10))) {
        if (const HGLOBAL loaded = ::LoadResource(module, resource)) {
            html.assign(static_cast<const char*>(::LockResource(loaded)),
                        ::SizeofResource(module, resource));
        }
    }
    return pages.emplace(name, ParseHelpPage(html)).first->second;
}

int DialogIdOf(HWND dialog) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropA(dialog, kDialogIdProperty)));
}

// The section a control's own name has on its dialog's help page, if it has one.
std::string NamedAnchor(int dialog, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    if (dialog == IDD_HELP) {
        for (const OwnAnchor& own : kHelpWindowAnchors) {
            if (own.control == id) {
                return own.anchor;
            }
        }
        return {};
    }
    const auto name = ControlName(dialog, static_cast<ControlId>(id));
    const std::string anchor = name ? std::string(*name) : std::string();
    const HelpPage& page = LoadHelpPage(std::string(HelpPageOf(dialog)));
    return FindHelpSection(page, anchor) ? anchor : std::string();
}

// The window of the control a click or key concerns: a combo box's edit or list belongs to it.
HWND ControlOf(HWND window) {
    char kind[32] = {};
    const HWND parent = ::GetParent(window);
    if (parent && ::GetClassNameA(parent, kind, sizeof kind) &&
        ::lstrcmpiA(kind, "ComboBox") == 0) {
        return parent;
    }
    return window;
}

// The help window: the pages and their sections on the left, the chosen page's text on the
// right, scrolled to the section.
class HelpWindow {
public:
    HelpWindow(std::string page, std::string anchor)
        : page_(std::move(page)), anchor_(std::move(anchor)) {}

    void Run(HWND owner) {
        ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HELP), owner,
                          &HelpWindow::Procedure, reinterpret_cast<LPARAM>(this));
    }

private:
    struct Topic {
        std::string page;
        std::size_t section;  // npos: the page's top
    };

    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            MarkDialog(hwnd, IDD_HELP);
            reinterpret_cast<HelpWindow*>(lParam)->Fill(hwnd);
            return FALSE;
        }
        auto* self = reinterpret_cast<HelpWindow*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
        switch (message) {
            case WM_COMMAND:
                if (LOWORD(wParam) == IDCANCEL) {
                    ::EndDialog(hwnd, IDCANCEL);
                    return TRUE;
                }
                if (LOWORD(wParam) == IDC_HELP_TOPICS && HIWORD(wParam) == LBN_SELCHANGE) {
                    self->ShowSelected(hwnd);
                    return TRUE;
                }
                return FALSE;
            case WM_HELP:
                AnswerHelpMessage(hwnd, *reinterpret_cast<const HELPINFO*>(lParam));
                return TRUE;
            case WM_DESTROY:
                UnmarkDialog(hwnd);
                return FALSE;
            default:
                return FALSE;
        }
    }

    void Fill(HWND hwnd) {
        const HWND list = ::GetDlgItem(hwnd, IDC_HELP_TOPICS);
        int select = 0;
        for (const char* name : kHelpPages) {
            const HelpPage& page = LoadHelpPage(name);
            if (page.title.empty()) {
                continue;
            }
            Add(list, page.title, {name, std::string::npos});
            if (page_ == name && anchor_.empty()) {
                select = static_cast<int>(topics_.size()) - 1;
            }
            for (std::size_t s = 0; s < page.sections.size(); ++s) {
                if (page.sections[s].anchors.empty()) {
                    continue;
                }
                Add(list, "    " + page.sections[s].heading, {name, s});
                if (page_ == name && &page.sections[s] == FindHelpSection(page, anchor_)) {
                    select = static_cast<int>(topics_.size()) - 1;
                }
            }
        }
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
        ShowSelected(hwnd);
        // The text takes the focus, so the arrow keys and Page Down read it at once.
        ::SetFocus(::GetDlgItem(hwnd, IDC_HELP_TEXT));
    }

    void Add(HWND list, const std::string& text, Topic topic) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        topics_.push_back(std::move(topic));
    }

    void ShowSelected(HWND hwnd) {
        const LRESULT index = ::SendDlgItemMessageA(hwnd, IDC_HELP_TOPICS, LB_GETCURSEL, 0, 0);
        if (index < 0 || static_cast<std::size_t>(index) >= topics_.size()) {
            return;
        }
        const Topic& topic = topics_[static_cast<std::size_t>(index)];
        const HelpPage& page = LoadHelpPage(topic.page);
        const HWND text = ::GetDlgItem(hwnd, IDC_HELP_TEXT);
        if (shown_ != topic.page) {
            ::SetWindowTextA(text, page.text.c_str());
            shown_ = topic.page;
        }
        const std::size_t offset =
            topic.section == std::string::npos ? 0 : page.sectionOffsets[topic.section];
        // The section's first line at the top of the box.
        const LRESULT line = ::SendMessageA(text, EM_LINEFROMCHAR, offset, 0);
        const LRESULT first = ::SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0);
        ::SendMessageA(text, EM_LINESCROLL, 0, line - first);
        ::SendMessageA(text, EM_SETSEL, offset, offset);
    }

    std::string page_;
    std::string anchor_;
    std::vector<Topic> topics_;
    std::string shown_;
};

// A control's short help: a bordered box beside it that goes with the next click or key.
class WhatsThisPopup {
public:
    static bool Show(HWND owner, const std::string& text, POINT at) {
        static const ATOM kind = Register();
        if (!kind || text.empty()) {
            return false;
        }
        const HWND popup = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MAKEINTATOM(kind),
                                             "", WS_POPUP | WS_BORDER, at.x, at.y, 10, 10, owner,
                                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (!popup) {
            return false;
        }
        ::SetWindowTextA(popup, text.c_str());
        RECT box = {0, 0, 0, 0};
        Measure(popup, text, box);
        // On the screen, under the point where it can.
        const HMONITOR monitor = ::MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
        MONITORINFO screen = {};
        screen.cbSize = sizeof screen;
        ::GetMonitorInfoA(monitor, &screen);
        const int width = box.right - box.left;
        const int height = box.bottom - box.top;
        const int x = std::max(screen.rcWork.left, std::min(at.x, screen.rcWork.right - width));
        const int y = std::max(screen.rcWork.top, std::min(at.y, screen.rcWork.bottom - height));
        ::SetWindowPos(popup, HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW);
        ::SetFocus(popup);
        return true;
    }

private:
    static constexpr int kMargin = 6;

    static ATOM Register() {
        WNDCLASSA kind = {};
        kind.style = CS_DROPSHADOW | CS_SAVEBITS;
        kind.lpfnWndProc = &WhatsThisPopup::Procedure;
        kind.hInstance = ::GetModuleHandleA(nullptr);
        kind.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        kind.hbrBackground = ::GetSysColorBrush(COLOR_INFOBK);
        kind.lpszClassName = "TessalyWhatsThis";
        return ::RegisterClassA(&kind);
    }

    static void Measure(HWND popup, const std::string& text, RECT& box) {
        const HDC dc = ::GetDC(popup);
        const HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        RECT area = {0, 0, ::MulDiv(320, ::GetDeviceCaps(dc, LOGPIXELSX), 96), 0};
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::SelectObject(dc, old);
        ::ReleaseDC(popup, dc);
        box = {0, 0, area.right + 2 * kMargin + 2, area.bottom + 2 * kMargin + 2};
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT paint;
                const HDC dc = ::BeginPaint(hwnd, &paint);
                char text[4096] = {};
                const int length = ::GetWindowTextA(hwnd, text, sizeof text);
                RECT area;
                ::GetClientRect(hwnd, &area);
                ::InflateRect(&area, -kMargin, -kMargin);
                const HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
                ::SetBkMode(dc, TRANSPARENT);
                ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
                ::DrawTextA(dc, text, length, &area, DT_WORDBREAK | DT_NOPREFIX);
                ::SelectObject(dc, old);
                ::EndPaint(hwnd, &paint);
                return 0;
            }
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_KILLFOCUS:
                ::DestroyWindow(hwnd);
                return 0;
            default:
                return ::DefWindowProcA(hwnd, message, wParam, lParam);
        }
    }
};

}  // namespace

std::string HelpPageOfDialog(HWND dialog) {
    switch (const int id = DialogIdOf(dialog)) {
        case 0:
            return {};
        case IDD_HELP:
            return "help.html";
        default:
            return std::string(HelpPageOf(id));
    }
}

void MarkDialog(HWND dialog, int templateId) {
    ::SetPropA(dialog, kDialogIdProperty,
               reinterpret_cast<HANDLE>(static_cast<INT_PTR>(templateId)));
}

void UnmarkDialog(HWND dialog) {
    ::RemovePropA(dialog, kDialogIdProperty);
}

std::string HelpAnchorOf(HWND control) {
    control = ControlOf(control);
    const int dialog = DialogIdOf(::GetParent(control));
    if (std::string anchor = NamedAnchor(dialog, control); !anchor.empty()) {
        return anchor;
    }
    // A label names the field after it, as its mnemonic does.
    char kind[32] = {};
    ::GetClassNameA(control, kind, sizeof kind);
    if (std::strstr(kind, "Static")) {
        if (const HWND next = ::GetWindow(control, GW_HWNDNEXT)) {
            return NamedAnchor(dialog, next);
        }
    }
    return {};
}

void ShowHelpTopic(HWND owner, const std::string& page, const std::string& anchor) {
    HelpWindow(page, anchor).Run(owner);
}

bool ShowWhatsThis(HWND control, POINT at) {
    control = ControlOf(control);
    const std::string page = HelpPageOfDialog(::GetParent(control));
    const HelpSection* section = FindHelpSection(LoadHelpPage(page), HelpAnchorOf(control));
    if (!section) {
        return false;
    }
    return WhatsThisPopup::Show(::GetParent(control), section->heading + "\r\n\r\n" + section->text,
                                at);
}

void AnswerHelpMessage(HWND dialog, const HELPINFO& info) {
    const auto control = static_cast<HWND>(info.hItemHandle);
    const bool child = info.iContextType == HELPINFO_WINDOW && control && control != dialog &&
                       ::IsChild(dialog, control);
    // A click in What's This mode comes with the mouse; F1 and Shift+F1 with the key.
    const bool key = (::GetKeyState(VK_F1) & 0x8000) != 0;
    if (child && !key && ShowWhatsThis(control, info.MousePos)) {
        return;
    }
    if (child && key && (::GetKeyState(VK_SHIFT) & 0x8000)) {
        RECT box;
        ::GetWindowRect(ControlOf(control), &box);
        if (ShowWhatsThis(control, {box.left + 4, box.bottom})) {
            return;
        }
    }
    ShowHelpTopic(dialog, HelpPageOfDialog(dialog), child ? HelpAnchorOf(control) : std::string());
}

void ShowContextHelpMenu(HWND control, LPARAM screenPoint) {
    control = ControlOf(control);
    if (HelpAnchorOf(control).empty()) {
        return;
    }
    POINT at = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) {
        // From the keyboard (the Menu key or Shift+F10): beside the control.
        RECT box;
        ::GetWindowRect(control, &box);
        at = {box.left + 4, box.bottom};
    }
    const HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 1, "&What's This?");
    const int chosen = ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                        ::GetParent(control), nullptr);
    ::DestroyMenu(menu);
    if (chosen == 1) {
        ShowWhatsThis(control, at);
    }
}

std::optional<INT_PTR> AnswerHelpMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HELP:
            AnswerHelpMessage(dialog, *reinterpret_cast<const HELPINFO*>(lParam));
            return TRUE;
        case WM_CONTEXTMENU:
            ShowContextHelpMenu(reinterpret_cast<HWND>(wParam), lParam);
            return TRUE;
        case WM_DESTROY:
            UnmarkDialog(dialog);
            return FALSE;
        default:
            return std::nullopt;
    }
}

}  // namespace tessaly::win32
