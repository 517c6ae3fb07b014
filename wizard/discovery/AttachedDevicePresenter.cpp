#include "wizard/discovery/AttachedDevicePresenter.h"

#include <algorithm>
#include <utility>

#include "device/TextRules.h"
#include "wizard/PageIds.h"

namespace tessaly {
namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    return std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
               return ToUpperAscii(a) == ToUpperAscii(b);
           }) != text.end();
}

// Characters, not bytes, of UTF-8 text: continuation bytes do not count.
int Characters(std::string_view utf8) {
    return static_cast<int>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

bool MatchesEveryWord(std::string_view filter, const std::vector<std::string>& cells) {
    std::size_t start = 0;
    while (start < filter.size()) {
        const std::size_t end = std::min(filter.find(' ', start), filter.size());
        const std::string_view word = filter.substr(start, end - start);
        start = end + 1;
        if (!word.empty() && std::none_of(cells.begin(), cells.end(), [word](const auto& cell) {
                return ContainsIgnoringCase(cell, word);
            })) {
            return false;
        }
    }
    return true;
}

AttachedDevicePresenter::AttachedDevicePresenter(DeviceTable table)
    : DialogPresenter(kAttachedDeviceDialog), table_(std::move(table)) {}

void AttachedDevicePresenter::OnInitDialog() {
    std::vector<ListColumn> columns;
    for (std::size_t c = 0; c < table_.columns.size(); ++c) {
        int widest = Characters(table_.columns[c]);
        for (const DeviceTable::Row& row : table_.rows) {
            if (c < row.cells.size()) {
                widest = std::max(widest, Characters(row.cells[c]));
            }
        }
        columns.push_back({table_.columns[c], 0, std::min(widest, kMaxColumnCharacters)});
    }
    view().SetColumns(kDeviceList, columns);
    view().SetChecked(kShowAllCheck, showAll_);
    Refilter();
    view().SetFocus(kFilterEdit);
}

void AttachedDevicePresenter::OnTextChanged(ControlId control, const std::string& text) {
    if (control == kFilterEdit) {
        filter_ = text;
        Refilter();
    }
}

void AttachedDevicePresenter::OnChecked(ControlId control, bool checked) {
    if (control == kShowAllCheck) {
        showAll_ = checked;
        Refilter();
    }
}

void AttachedDevicePresenter::OnSelectionChanged(ControlId control) {
    if (control == kDeviceList) {
        view().SetEnabled(kOkButton, ChosenRow().has_value());
    }
}

void AttachedDevicePresenter::OnRowActivated(ControlId control, std::size_t) {
    if (control == kDeviceList) {
        OnClicked(kOkButton);
    }
}

std::optional<std::size_t> AttachedDevicePresenter::ChosenRow() const {
    if (!attached()) {
        return std::nullopt;
    }
    const std::vector<std::size_t> selected = view().SelectedRows(kDeviceList);
    if (selected.empty() || selected.front() >= shown_.size()) {
        return std::nullopt;
    }
    return shown_[selected.front()];
}

void AttachedDevicePresenter::Refilter() {
    shown_.clear();
    std::vector<std::vector<std::string>> rows;
    for (std::size_t r = 0; r < table_.rows.size(); ++r) {
        const DeviceTable::Row& row = table_.rows[r];
        if ((showAll_ || !row.hiddenByDefault) && MatchesEveryWord(filter_, row.cells)) {
            shown_.push_back(r);
            rows.push_back(row.cells);
        }
    }
    view().SetRows(kDeviceList, rows);
    const bool empty = rows.empty();
    if (!empty) {
        view().SelectRow(kDeviceList, 0);
    } else if (filter_.find_first_not_of(' ') != std::string::npos) {
        view().SetText(kEmptyText, "No device matches the filter.");
    } else {
        view().SetText(kEmptyText,
                       table_.emptyText + (table_.rows.empty()
                                               ? ""
                                               : "\r\n\r\nRoot hubs and host bridges are listed "
                                                 "with \"Show all devices\"."));
    }
    view().SetVisible(kDeviceList, !empty);
    view().SetVisible(kEmptyText, empty);
    view().SetEnabled(kOkButton, ChosenRow().has_value());
}

}  // namespace tessaly
