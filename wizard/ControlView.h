#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "wizard/ControlIds.h"

namespace tessaly {

// A column of a report-style list: its header and its width, in pixels at 96 dpi or, when that
// is 0, as wide as its texts up to `characters` average character widths of the dialog's font.
struct ListColumn {
    std::string title;
    int pixels = 0;
    int characters = 0;

    friend bool operator==(const ListColumn&, const ListColumn&) = default;
};

// One page or dialog as its presenter sees it: controls named by their template ids
// (ControlIds.h). A view draws what it is told here and forwards what the user does to its
// presenter (ControlPresenter's On... calls); it decides nothing.
//
// Texts are bytes in the encoding ControlEncoding gives for the control. Multi-line texts end
// their lines with "\r\n"; "&" marks a mnemonic in a label or button text.
class ControlView {
public:
    virtual ~ControlView() = default;

    // The text of a field, label or button. A field set from here shows the start of its text.
    virtual void SetText(ControlId control, const std::string& text) = 0;
    virtual void SetEnabled(ControlId control, bool enabled) = 0;
    // Check boxes and radio buttons.
    virtual void SetChecked(ControlId control, bool checked) = 0;
    virtual void SetVisible(ControlId control, bool visible) = 0;
    virtual void SetFocus(ControlId control) = 0;

    // Drop-down lists: the entries in order, and the selected entry (-1 for none).
    virtual void SetItems(ControlId control, const std::vector<std::string>& items) = 0;
    virtual void SetCurrentItem(ControlId control, int index) = 0;

    // Report-style lists. Inserting or removing a row leaves the other rows selected as they
    // were.
    virtual void SetColumns(ControlId control, const std::vector<ListColumn>& columns) = 0;
    virtual void SetRows(ControlId control, const std::vector<std::vector<std::string>>& rows) = 0;
    virtual void InsertRow(ControlId control, std::size_t row,
                           const std::vector<std::string>& cells) = 0;
    virtual void SetRow(ControlId control, std::size_t row,
                        const std::vector<std::string>& cells) = 0;
    virtual void RemoveRow(ControlId control, std::size_t row) = 0;
    // Selects `row` besides those already selected, makes it the current row and scrolls it
    // into view.
    virtual void SelectRow(ControlId control, std::size_t row) = 0;
    // The selected rows, in ascending order: the one thing a presenter asks its view, since the
    // user changes the selection with every click and arrow key.
    virtual std::vector<std::size_t> SelectedRows(ControlId control) const = 0;

    // The default system beep, for an operation that cannot be done.
    virtual void Beep() = 0;

    // A dialog closes with OK or Cancel; a page ignores it.
    virtual void Close(bool accepted) = 0;
};

}  // namespace tessaly
