#include "gui/win32/Win32Dialogs.h"

#include <memory>

#include "gui/win32/AnsiText.h"
#include "gui/win32/Help.h"
#include "gui/win32/Resource.h"
#include "gui/win32/Win32ControlView.h"
#include "wizard/PageIds.h"
#include "wizard/discovery/AttachedDevicePresenter.h"
#include "wizard/interrupts/StepEditorPresenter.h"
#include "wizard/modulefile/FunctionSelectPresenter.h"
#include "wizard/output/DirectoryBrowserPresenter.h"

namespace tessaly::win32 {
namespace {

struct ModalDialog {
    ControlPresenter& presenter;
    int templateId;
    const std::function<void(HWND)>& prepare;
    std::unique_ptr<Win32ControlView> view;
};

INT_PTR Answer(HWND hwnd, LRESULT result) {
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// The procedure of every template dialog: the controls' messages go to the view, help to the
// help window.
INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto& dialog = *reinterpret_cast<ModalDialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        MarkDialog(hwnd, dialog.templateId);
        dialog.view = std::make_unique<Win32ControlView>(
            dialog.presenter, hwnd,
            [hwnd](bool accepted) { ::EndDialog(hwnd, accepted ? IDOK : IDCANCEL); });
        dialog.presenter.Attach(*dialog.view);
        if (dialog.prepare) {
            dialog.prepare(hwnd);
        }
        return TRUE;
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!dialog || !dialog->view) {
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDHELP) {
                ShowHelpTopic(hwnd, HelpPageOfDialog(hwnd), {});
                return TRUE;
            }
            return dialog->view->OnCommand(wParam, lParam) ? TRUE : FALSE;
        case WM_NOTIFY: {
            LRESULT result = 0;
            return dialog->view->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)
                       ? Answer(hwnd, result)
                       : FALSE;
        }
        default:
            return AnswerHelpMessages(hwnd, message, wParam, lParam).value_or(FALSE);
    }
}

// Up and down in the picker's filter move in the list, so typing and choosing need no Tab.
LRESULT CALLBACK FilterProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR list) {
    if (message == WM_KEYDOWN &&
        (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT)) {
        return ::SendMessageA(reinterpret_cast<HWND>(list), message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &FilterProcedure, 0);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// The shell's folder picker as its presenter sees it: the status line is its one control.
class FolderPickerView final : public ControlView {
public:
    explicit FolderPickerView(HWND picker) : picker_(picker) {}

    void SetText(ControlId control, const std::string& text) override {
        if (control == kStatusText) {
            ::SendMessageA(picker_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    void SetEnabled(ControlId, bool) override {}
    void SetChecked(ControlId, bool) override {}
    void SetVisible(ControlId, bool) override {}
    void SetFocus(ControlId) override {}
    void SetItems(ControlId, const std::vector<std::string>&) override {}
    void SetCurrentItem(ControlId, int) override {}
    void SetColumns(ControlId, const std::vector<ListColumn>&) override {}
    void SetRows(ControlId, const std::vector<std::vector<std::string>>&) override {}
    void InsertRow(ControlId, std::size_t, const std::vector<std::string>&) override {}
    void SetRow(ControlId, std::size_t, const std::vector<std::string>&) override {}
    void RemoveRow(ControlId, std::size_t) override {}
    void SelectRow(ControlId, std::size_t) override {}
    std::vector<std::size_t> SelectedRows(ControlId) const override { return {}; }
    void Beep() override { ::MessageBeep(MB_OK); }
    void Close(bool) override {}

private:
    HWND picker_;
};

struct FolderPicker {
    DirectoryBrowserPresenter& presenter;
    std::unique_ptr<FolderPickerView> view;
};

// F1 in the shell's picker shows its page of the wizard's help.
LRESULT CALLBACK PickerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == WM_HELP) {
        ShowHelpTopic(hwnd, std::string(HelpPageOf(kDirectoryBrowserDialog)), {});
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &PickerProcedure, 0);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

int CALLBACK FolderCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data) {
    auto& picker = *reinterpret_cast<FolderPicker*>(data);
    if (message == BFFM_INITIALIZED) {
        picker.view = std::make_unique<FolderPickerView>(hwnd);
        picker.presenter.Attach(*picker.view);
        if (const std::optional<std::string> start = picker.presenter.StartFolder()) {
            ::SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE,
                           reinterpret_cast<LPARAM>(start->c_str()));
        }
        ::SetWindowSubclass(hwnd, &PickerProcedure, 0, 0);
    } else if (message == BFFM_SELCHANGED && picker.view) {
        char path[MAX_PATH] = {};
        if (::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path)) {
            picker.presenter.OnFolderSelected(path);
        }
    }
    return 0;
}

// The wait cursor for as long as it lives.
class WaitCursor {
public:
    explicit WaitCursor(int& busy)
        : busy_(busy), previous_(::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {
        ++busy_;
    }
    ~WaitCursor() {
        --busy_;
        ::SetCursor(previous_);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    int& busy_;
    HCURSOR previous_;
};

DWORD WINAPI RunJob(void* job) {
    (*static_cast<const std::function<void()>*>(job))();
    return 0;
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

bool RunDialog(ControlPresenter& presenter, int templateId, HWND owner,
               const std::function<void(HWND)>& prepare) {
    ModalDialog dialog{presenter, templateId, prepare, nullptr};
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                             &DialogProcedure, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

HWND Win32Dialogs::Owner() const {
    if (const HWND active = ::GetActiveWindow()) {
        return active;
    }
    return sheet_ && ::IsWindow(sheet_) ? sheet_ : nullptr;
}

std::optional<int> Win32Dialogs::ChooseFunction(const std::vector<std::string>& functions) {
    FunctionSelectPresenter presenter(functions);
    if (!RunDialog(presenter, kFunctionSelectDialog, Owner())) {
        return std::nullopt;
    }
    return presenter.position();
}

std::optional<StepEditorFields> Win32Dialogs::EditStep(const StepEditorFields& initial) {
    StepEditorPresenter presenter(initial);
    if (!RunDialog(presenter, kStepEditorDialog, Owner())) {
        return std::nullopt;
    }
    return presenter.fields();
}

std::optional<std::size_t> Win32Dialogs::ChooseAttachedDevice(const DeviceTable& table) {
    AttachedDevicePresenter presenter(table);
    const bool chosen = RunDialog(presenter, kAttachedDeviceDialog, Owner(), [&](HWND hwnd) {
        ::SetWindowTextA(hwnd, Utf8ToAnsi(presenter.title()).c_str());
        ::SetWindowSubclass(::GetDlgItem(hwnd, IDC_DEVICE_FILTER), &FilterProcedure, 0,
                            reinterpret_cast<DWORD_PTR>(::GetDlgItem(hwnd, IDC_DEVICE_LIST)));
    });
    return chosen ? presenter.ChosenRow() : std::nullopt;
}

std::optional<std::string> Win32Dialogs::ChooseFileToOpen(const OpenFileRequest& request) {
    // The types as the dialog takes them: "name\0pattern;pattern\0...\0".
    std::string filters;
    for (const FileFilter& filter : request.filters) {
        filters += filter.name;
        filters.push_back('\0');
        for (std::size_t i = 0; i < filter.patterns.size(); ++i) {
            filters += (i ? ";" : "") + filter.patterns[i];
        }
        filters.push_back('\0');
    }
    filters.push_back('\0');
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (!::GetOpenFileNameA(&dialog)) {
        return std::nullopt;
    }
    return std::string(path);
}

std::optional<std::string> Win32Dialogs::ChooseFolder(const std::string& initialFolder) {
    // The shell's picker needs COM on this thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DirectoryBrowserPresenter presenter(initialFolder, files_);
    FolderPicker picker{presenter, nullptr};
    char displayName[MAX_PATH] = {};
    BROWSEINFOA request = {};
    request.hwndOwner = Owner();
    request.pszDisplayName = displayName;
    request.lpszTitle = "Current Selection";
    request.ulFlags = BIF_STATUSTEXT | BIF_RETURNONLYFSDIRS;
    request.lpfn = &FolderCallback;
    request.lParam = reinterpret_cast<LPARAM>(&picker);
    std::optional<std::string> chosen;
    if (LPITEMIDLIST item = ::SHBrowseForFolderA(&request)) {
        char path[MAX_PATH] = {};
        // A virtual folder has no path: as if cancelled.
        if (::SHGetPathFromIDListA(item, path)) {
            chosen = path;
        }
        ::CoTaskMemFree(item);
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return chosen;
}

void Win32Dialogs::WithWaitCursor(const std::function<void()>& job) {
    const WaitCursor cursor(busy_);
    job();
}

void Win32Dialogs::RunWhileBusy(const std::function<void()>& job) {
    const WaitCursor cursor(busy_);
    HANDLE thread =
        ::CreateThread(nullptr, 0, &RunJob, const_cast<std::function<void()>*>(&job), 0, nullptr);
    if (!thread) {
        // No thread to spare: the job runs here, and the window waits for it.
        job();
        return;
    }
    // The window keeps painting; what the user types or clicks meanwhile is dropped.
    bool quit = false;
    int quitCode = 0;
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(message.wParam);
            } else if (!IsInput(message.message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageA(&message);
            }
        }
    }
    ::CloseHandle(thread);
    if (quit) {
        // Kept for the loop that owns it.
        ::PostQuitMessage(quitCode);
    }
}

}  // namespace tessaly::win32
