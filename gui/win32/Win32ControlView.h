#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gui/win32/Win32Api.h"
#include "wizard/ControlPresenter.h"
#include "wizard/ControlView.h"

namespace tessaly::win32 {

// A page or dialog of the Win32 view: the controls of a dialog window, found by their template
// ids, which are the presenter's control ids. Presenter calls become messages to the controls;
// what the user does comes back through OnCommand and OnNotify (from the dialog procedure) and
// through the controls' subclasses (focus leaving a field, keys of a report-style list), and goes
// to the presenter. Nothing is decided here.
class Win32ControlView final : public ControlView {
public:
    // `close` ends a modal dialog with OK (true) or Cancel; a page has none.
    Win32ControlView(ControlPresenter& presenter, HWND dialog,
                     std::function<void(bool)> close = {});
    ~Win32ControlView() override;
    Win32ControlView(const Win32ControlView&) = delete;
    Win32ControlView& operator=(const Win32ControlView&) = delete;

    HWND hwnd() const { return dialog_; }
    // The control `window` is or belongs to (a combo box's edit), if the presenter names it.
    std::optional<ControlId> IdOf(HWND window) const;

    // A control's WM_COMMAND and WM_NOTIFY; false when they are not the presenter's.
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    bool OnNotify(const NMHDR& header, LRESULT& result);

    void SetText(ControlId control, const std::string& text) override;
    void SetEnabled(ControlId control, bool enabled) override;
    void SetChecked(ControlId control, bool checked) override;
    void SetVisible(ControlId control, bool visible) override;
    void SetFocus(ControlId control) override;
    void SetItems(ControlId control, const std::vector<std::string>& items) override;
    void SetCurrentItem(ControlId control, int index) override;
    void SetColumns(ControlId control, const std::vector<ListColumn>& columns) override;
    void SetRows(ControlId control, const std::vector<std::vector<std::string>>& rows) override;
    void InsertRow(ControlId control, std::size_t row,
                   const std::vector<std::string>& cells) override;
    void SetRow(ControlId control, std::size_t row, const std::vector<std::string>& cells) override;
    void RemoveRow(ControlId control, std::size_t row) override;
    void SelectRow(ControlId control, std::size_t row) override;
    std::vector<std::size_t> SelectedRows(ControlId control) const override;
    void Beep() override;
    void Close(bool accepted) override;

private:
    static LRESULT CALLBACK ControlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);
    HWND Control(ControlId control) const;
    std::string ToShown(ControlId control, const std::string& text) const;
    std::string FromShown(ControlId control, const std::string& text) const;
    void FieldChanged(ControlId control, HWND field);
    void ShowNote(HWND field, const std::string& utf8);
    void FitColumns(ControlId control);
    void PressDefaultButton() const;

    ControlPresenter& presenter_;
    HWND dialog_;
    std::function<void(bool)> close_;
    std::map<ControlId, std::string> accepted_;  // each field's text as last taken
    std::map<ControlId, std::vector<ListColumn>> columns_;
    HWND note_ = nullptr;  // the balloon that says why a field refused text
    int applying_ = 0;     // presenter calls being carried out
};

}  // namespace tessaly::win32
