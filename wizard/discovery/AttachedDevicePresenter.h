#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/DeviceTable.h"
#include "wizard/DialogPresenter.h"

namespace tessaly {

// The widest a column starts, in characters: a long name shows its start, and the dialog stays
// the size of the screen rather than of the longest name.
inline constexpr int kMaxColumnCharacters = 24;

// True when every word of `filter` (split at spaces) is in one of the cells, letters compared
// without regard to case. An empty filter matches everything.
bool MatchesEveryWord(std::string_view filter, const std::vector<std::string>& cells);

// Lists the devices attached to one bus to pick one. Typing in the filter field keeps the rows
// holding every typed word in some column and selects the first; the rows hidden by default
// (host bridges, root hubs) appear with "Show all devices"; OK, Enter or a double click chooses.
// Without a row, the list's place says why.
class AttachedDevicePresenter final : public DialogPresenter {
public:
    explicit AttachedDevicePresenter(DeviceTable table);

    const std::string& title() const { return table_.title; }
    // The chosen row's position in the table; nullopt when no row is selected.
    std::optional<std::size_t> ChosenRow() const;

    void OnTextChanged(ControlId control, const std::string& text) override;
    void OnChecked(ControlId control, bool checked) override;
    void OnSelectionChanged(ControlId control) override;
    void OnRowActivated(ControlId control, std::size_t row) override;

protected:
    void OnInitDialog() override;
    bool Accept() override { return ChosenRow().has_value(); }

private:
    void Refilter();

    DeviceTable table_;
    std::string filter_;
    bool showAll_ = false;
    std::vector<std::size_t> shown_;  // the table rows the list shows, in order
};

}  // namespace tessaly
