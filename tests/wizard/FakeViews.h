#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "wizard/ControlView.h"
#include "wizard/SheetView.h"

namespace tessaly::testing {

// What one control shows.
struct ShownControl {
    std::string text;
    bool enabled = true;
    bool checked = false;
    bool visible = true;
    std::vector<std::string> items;
    int current = -1;
    std::vector<ListColumn> columns;
    std::vector<std::vector<std::string>> rows;
    std::set<std::size_t> selected;
};

// A page or dialog as a view would show it, kept per control; selections move with inserted
// and removed rows as a list control's do.
class FakeControlView final : public ControlView {
public:
    std::map<ControlId, ShownControl> controls;
    std::optional<ControlId> focus;
    int beeps = 0;
    std::optional<bool> closed;  // with OK: true

    ShownControl& operator[](ControlId control) { return controls[control]; }

    void SetText(ControlId c, const std::string& text) override { controls[c].text = text; }
    void SetEnabled(ControlId c, bool enabled) override { controls[c].enabled = enabled; }
    void SetChecked(ControlId c, bool checked) override { controls[c].checked = checked; }
    void SetVisible(ControlId c, bool visible) override { controls[c].visible = visible; }
    void SetFocus(ControlId c) override { focus = c; }
    void SetItems(ControlId c, const std::vector<std::string>& items) override {
        controls[c].items = items;
        controls[c].current = -1;
    }
    void SetCurrentItem(ControlId c, int index) override { controls[c].current = index; }
    void SetColumns(ControlId c, const std::vector<ListColumn>& columns) override {
        controls[c].columns = columns;
    }
    void SetRows(ControlId c, const std::vector<std::vector<std::string>>& rows) override {
        controls[c].rows = rows;
        controls[c].selected.clear();
    }
    void InsertRow(ControlId c, std::size_t row, const std::vector<std::string>& cells) override {
        ShownControl& list = controls[c];
        list.rows.insert(list.rows.begin() + static_cast<std::ptrdiff_t>(row), cells);
        Shift(list, row, +1);
    }
    void SetRow(ControlId c, std::size_t row, const std::vector<std::string>& cells) override {
        controls[c].rows.at(row) = cells;
    }
    void RemoveRow(ControlId c, std::size_t row) override {
        ShownControl& list = controls[c];
        list.rows.erase(list.rows.begin() + static_cast<std::ptrdiff_t>(row));
        list.selected.erase(row);
        Shift(list, row, -1);
    }
    void SelectRow(ControlId c, std::size_t row) override { controls[c].selected.insert(row); }
    std::vector<std::size_t> SelectedRows(ControlId c) const override {
        const auto found = controls.find(c);
        return found == controls.end() ? std::vector<std::size_t>{}
                                       : std::vector<std::size_t>(found->second.selected.begin(),
                                                                  found->second.selected.end());
    }
    void Beep() override { ++beeps; }
    void Close(bool accepted) override { closed = accepted; }

private:
    static void Shift(ShownControl& list, std::size_t from, int by) {
        std::set<std::size_t> moved;
        for (const std::size_t row : list.selected) {
            moved.insert(row >= from ? row + static_cast<std::size_t>(by) : row);
        }
        list.selected = moved;
    }
};

// The sheet's title, buttons and where the focus went on the last activation.
class FakeSheetView final : public SheetView {
public:
    std::string title;
    unsigned buttons = 0;
    std::string focus;  // "forward" or "first"; empty when a page control took it

    void SetTitle(const std::string& text) override { title = text; }
    void SetButtons(unsigned flags) override { buttons = flags; }
    void FocusForwardButton() override { focus = "forward"; }
    void FocusFirstControl() override { focus = "first"; }
};

}  // namespace tessaly::testing
