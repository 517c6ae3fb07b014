#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "wizard/ControlIds.h"
#include "wizard/ControlView.h"

namespace tessaly {

// The keys a report-style list hands to its presenter rather than to the dialog: F2 and Delete,
// and Enter, which presses the default button unless the presenter takes it.
enum class RowKey { Edit, Remove, Enter };

// What every page and dialog presenter answers: the user's actions, as its view forwards them.
// A view calls these and nothing else; the presenter decides what follows and tells the view
// through its ControlView.
class ControlPresenter {
public:
    explicit ControlPresenter(int dialog) : dialog_(dialog) {}
    virtual ~ControlPresenter() = default;
    ControlPresenter(const ControlPresenter&) = delete;
    ControlPresenter& operator=(const ControlPresenter&) = delete;

    // The dialog template number, which names the controls and the help page.
    int dialog() const { return dialog_; }

    // The view's controls exist (the first display of a page, the opening of a dialog): the
    // presenter fills them.
    void Attach(ControlView& view);
    bool attached() const { return view_ != nullptr; }

    // The user changed the text of a field (every keystroke), in the control's encoding.
    virtual void OnTextChanged(ControlId control, const std::string& text);
    // The keyboard focus left a field for another control of the same window.
    virtual void OnFocusLeft(ControlId control);
    // A push button was pressed.
    virtual void OnClicked(ControlId control);
    // The user set or cleared a check box, or chose a radio button.
    virtual void OnChecked(ControlId control, bool checked);
    // The user chose an entry of a drop-down list.
    virtual void OnItemChosen(ControlId control, int index);
    // The selection of a report-style list changed.
    virtual void OnSelectionChanged(ControlId control);
    // A row of a report-style list was double-clicked.
    virtual void OnRowActivated(ControlId control, std::size_t row);
    // A key of a report-style list; true when the presenter acted on it (Enter then does not
    // press the default button).
    virtual bool OnRowKey(ControlId control, RowKey key);

    // Asked before a field takes new text (typed, pasted or dropped), given as UTF-8 whatever the
    // field holds: nullopt accepts it, else the field keeps its text and shows the note returned
    // (nothing when it is empty). Fields refuse what their encoding cannot hold.
    virtual std::optional<std::string> RefusalOf(ControlId control, std::string_view utf8) const;

protected:
    virtual void OnInitDialog() {}
    ControlView& view() const { return *view_; }

private:
    int dialog_;
    ControlView* view_ = nullptr;
};

// The note a field shows when it refuses characters that Latin-1 lacks, naming each once;
// nullopt when `utf8` holds none.
std::optional<std::string> Latin1Refusal(std::string_view utf8);

// The same note for `characters` (UTF-8, each once) that the text's code page lacks, named as
// the user knows it ("the Windows Western (Latin-1) code page").
std::string CodePageRefusal(std::string_view characters, std::string_view codePage);

}  // namespace tessaly
