#pragma once

#include "interrupts/StepEditorFields.h"
#include "wizard/DialogPresenter.h"

namespace tessaly {

// Dialog 106: one register access step in its six editor texts, which are its whole state. The
// type of access decides which of the mask and value boxes are enabled; the width normalises the
// numbers when it is chosen, when the dialog opens and on OK, so whatever is typed becomes a
// valid number of that width. There is no message and no beep.
class StepEditorPresenter final : public DialogPresenter {
public:
    explicit StepEditorPresenter(const StepEditorFields& fields = {});

    // The texts after OK: always normalised for the chosen width.
    const StepEditorFields& fields() const { return fields_; }

    void OnTextChanged(ControlId control, const std::string& text) override;
    void OnItemChosen(ControlId control, int index) override;
    void OnFocusLeft(ControlId control) override;

protected:
    void OnInitDialog() override;
    bool Accept() override;

private:
    void ShowTexts();
    // The lists' texts become their selected entries' (empty for none), as a dialog reads them.
    void TakeListTexts();
    void ApplyEnabling();
    void Normalise();

    StepEditorFields fields_;
    int selected_[3] = {-1, -1, -1};  // the entry each list selects, in the order of kLists
};

}  // namespace tessaly
