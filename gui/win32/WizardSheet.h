#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "gui/win32/Win32Api.h"
#include "gui/win32/Win32ControlView.h"
#include "wizard/SheetPresenter.h"

namespace tessaly::win32 {

class Win32Dialogs;

// The wizard: a comctl32 property sheet in wizard mode over the eight page templates in sheet
// order. The sheet's presenter decides; the property sheet already asks the way the presenter
// answers: PSN_SETACTIVE tells it a page is shown, PSN_WIZNEXT and PSN_WIZBACK take the page
// Next and Back lead to (its template number, or -1 to stay), PSN_WIZFINISH and PSN_QUERYCANCEL
// whether the wizard closes.
class WizardSheet final : public SheetView {
public:
    WizardSheet(WizardModel& model, const WizardServices& services, Win32Dialogs& dialogs,
                PageId startPage);
    ~WizardSheet() override;
    WizardSheet(const WizardSheet&) = delete;
    WizardSheet& operator=(const WizardSheet&) = delete;

    // Shows the sheet modally; returns when it closes.
    void Run();
    // Closes the sheet as Cancel would once its first page is on screen, and notes when that
    // was (the start-up probe).
    void CloseWhenShown() { closeWhenShown_ = true; }
    std::chrono::steady_clock::time_point shownAt() const { return shownAt_; }

    void SetTitle(const std::string& title) override;
    void SetButtons(unsigned flags) override;
    void FocusForwardButton() override;
    void FocusFirstControl() override;

private:
    struct Page {
        WizardSheet* sheet;
        PagePresenter* presenter;
        std::unique_ptr<Win32ControlView> view;  // once the page's window exists
    };

    static INT_PTR CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK MnemonicHook(int code, WPARAM wParam, LPARAM lParam);
    INT_PTR OnPageNotify(Page& page, const NMHDR& header);
    std::optional<ControlId> Focused(const Page& page) const;
    void OnCreated(HWND hwnd);
    void ShowPageHelp() const;

    SheetPresenter presenter_;
    Win32Dialogs& dialogs_;
    std::vector<Page> pages_;  // in sheet order
    HWND hwnd_ = nullptr;
    unsigned buttons_ = 0;
    std::string title_;
    bool closeWhenShown_ = false;
    std::chrono::steady_clock::time_point shownAt_;

    // The sheet that is open on this thread, for the keyboard hook, which has no data of its own.
    static inline WizardSheet* open_ = nullptr;
};

}  // namespace tessaly::win32
