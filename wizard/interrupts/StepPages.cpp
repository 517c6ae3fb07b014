#include "wizard/interrupts/StepPages.h"

#include <string>

#include "interrupts/SequenceEdits.h"
#include "wizard/SheetPresenter.h"

namespace tessaly {
namespace {

std::vector<std::string> Cells(const InterruptStep& step) {
    return {step.Access, step.Size, step.Space, step.Offset, step.Mask, step.Value};
}

// The list's columns and their widths as the dialog template has them.
const std::vector<ListColumn> kStepColumns = {{"Access", 65}, {"Size", 50}, {"Space", 60},
                                              {"Offset", 95}, {"Mask", 95}, {"Value", 95}};

}  // namespace

void StepListPresenter::OnInitDialog() {
    view().SetColumns(kStepList, kStepColumns);
    EnableStepButtons(false);
}

void StepListPresenter::ShowRows(std::vector<InterruptStep> rows) {
    rows_ = std::move(rows);
    std::vector<std::vector<std::string>> cells;
    for (const InterruptStep& row : rows_) {
        cells.push_back(Cells(row));
    }
    view().SetRows(kStepList, cells);
}

void StepListPresenter::EnableStepButtons(bool enabled) {
    stepButtonsEnabled_ = enabled;
    view().SetEnabled(kEditStepButton, enabled);
    view().SetEnabled(kRemoveStepButton, enabled);
}

void StepListPresenter::OnClicked(ControlId control) {
    switch (control) {
        case kAddBeforeButton:
            AddStep(false);
            break;
        case kAddAfterButton:
            AddStep(true);
            break;
        case kEditStepButton:
            EditStep(true);
            break;
        case kRemoveStepButton:
            RemoveStep();
            break;
        default:
            break;
    }
}

void StepListPresenter::OnRowActivated(ControlId control, std::size_t) {
    if (control == kStepList) {
        EditStep(false);
    }
}

bool StepListPresenter::OnRowKey(ControlId control, RowKey key) {
    // The keys act as the buttons do, and only while the buttons are available; without a step
    // to edit, Enter goes on to the sheet's default button.
    if (control != kStepList || !stepButtonsEnabled_) {
        return false;
    }
    if (key == RowKey::Remove) {
        RemoveStep();
    } else {
        EditStep(true);
    }
    return true;
}

std::optional<std::size_t> StepListPresenter::FirstSelectedRow() const {
    const std::vector<std::size_t> selected = view().SelectedRows(kStepList);
    if (selected.empty()) {
        return std::nullopt;
    }
    return *std::min_element(selected.begin(), selected.end());
}

void StepListPresenter::AddStep(bool after) {
    const std::optional<StepEditorFields> fields = services().dialogs.EditStep({});
    if (!fields) {
        return;
    }
    const std::size_t row = NewStepRow(FirstSelectedRow(), rows_.size(), after);
    if (row > rows_.size()) {
        view().Beep();
        return;
    }
    const InterruptStep step = RowFromEditorFields(*fields);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), step);
    view().InsertRow(kStepList, row, Cells(step));
    OnStepAdded(row, step);
    EnableStepButtons(true);
    OnStepsChanged();
}

void StepListPresenter::EditStep(bool beepWithoutSelection) {
    const std::optional<std::size_t> row = FirstSelectedRow();
    if (!row || *row >= rows_.size()) {
        if (beepWithoutSelection) {
            view().Beep();
        }
        return;
    }
    const InterruptStep before = rows_[*row];
    const std::optional<StepEditorFields> fields =
        services().dialogs.EditStep(EditorFieldsFromRow(before));
    if (!fields) {
        return;
    }
    rows_[*row] = RowFromEditorFields(*fields, before);
    view().SetRow(kStepList, *row, Cells(rows_[*row]));
    OnStepEdited();
    OnStepsChanged();
}

void StepListPresenter::RemoveStep() {
    const std::optional<std::size_t> row = FirstSelectedRow();
    if (!row || *row >= rows_.size()) {
        view().Beep();
        return;
    }
    OnStepRemoving(*row);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*row));
    view().RemoveRow(kStepList, *row);
    if (!rows_.empty()) {
        view().SelectRow(kStepList, RowAfterRemoval(*row));
        view().SetFocus(kStepList);
    } else {
        EnableStepButtons(false);
        view().SetFocus(kAddAfterButton);
    }
    OnStepsChanged();
}

PageIsMinePresenter::PageIsMinePresenter(SheetPresenter& sheet)
    : StepListPresenter(sheet, kPageIsMine,
                        "Tessaly Wizard - PXI - Interrupt Detection Information") {}

void PageIsMinePresenter::OnInitDialog() {
    StepListPresenter::OnInitDialog();
    view().SetEnabled(kAddSequenceButton, true);
    view().SetEnabled(kRemoveSequenceButton, false);
}

void PageIsMinePresenter::OnSetActive() {
    ApplyButtonRule();
    if (model().RefreshOnActivate) {
        RebuildSequenceList();
        model().RefreshOnActivate = false;
    }
}

NavAnswer PageIsMinePresenter::OnWizardBack() {
    return BackFrom(id(), {model().device.BusType, model().device.GeneratesInterrupts});
}

bool PageIsMinePresenter::FocusWithoutNext() {
    view().SetFocus(kAddAfterButton);
    return true;
}

void PageIsMinePresenter::OnClicked(ControlId control) {
    if (control == kAddSequenceButton) {
        AddSequence();
    } else if (control == kRemoveSequenceButton) {
        RemoveSequence();
    } else {
        StepListPresenter::OnClicked(control);
    }
}

void PageIsMinePresenter::OnItemChosen(ControlId control, int index) {
    if (control == kSequenceCombo) {
        current_ = index;
        ShowCurrentSequence();
    }
}

void PageIsMinePresenter::RebuildSequenceList() {
    std::vector<DetectSequence>& sequences = model().device.DetectSequences;
    // "Sequence 0" first; the loader numbers its sequences 0, 1, 2, ... in file order.
    items_ = {0};
    for (std::size_t i = 1; i < sequences.size(); ++i) {
        items_.push_back(static_cast<std::int32_t>(i));
    }
    current_ = 0;
    if (sequences.empty()) {
        sequences.push_back(DetectSequence{0, {}, 0});
    }
    ShowSequenceItems();
    // Also when nothing was loaded: rows of an earlier visit go.
    ShowCurrentSequence();
    view().SetEnabled(kRemoveSequenceButton, items_.size() > 1);
}

void PageIsMinePresenter::ShowSequenceItems() {
    std::vector<std::string> texts;
    for (const std::int32_t number : items_) {
        texts.push_back("Sequence " + std::to_string(number));
    }
    view().SetItems(kSequenceCombo, texts);
    view().SetCurrentItem(kSequenceCombo, current_);
}

std::optional<std::int32_t> PageIsMinePresenter::CurrentNumber() const {
    if (current_ < 0 || static_cast<std::size_t>(current_) >= items_.size()) {
        return std::nullopt;
    }
    return items_[static_cast<std::size_t>(current_)];
}

DetectSequence* PageIsMinePresenter::CurrentSequence() const {
    const std::optional<std::int32_t> number = CurrentNumber();
    return number ? FindDetectSequence(model().device.DetectSequences, *number) : nullptr;
}

void PageIsMinePresenter::ShowCurrentSequence() {
    const DetectSequence* sequence = CurrentSequence();
    ShowRows(sequence ? RowsFromStepString(sequence->Steps, StepSeparators::Space)
                      : std::vector<InterruptStep>{});
    if (sequence) {
        EnableStepButtons(sequence->StepCount > 0);
    }
    ApplyButtonRule();
}

void PageIsMinePresenter::AddSequence() {
    items_.push_back(AddDetectSequence(model().device.DetectSequences));
    current_ = static_cast<int>(items_.size()) - 1;
    ShowSequenceItems();
    view().SetEnabled(kRemoveSequenceButton, true);
    ShowCurrentSequence();
}

void PageIsMinePresenter::RemoveSequence() {
    const std::optional<std::int32_t> number = CurrentNumber();
    if (number && RemoveDetectSequence(model().device.DetectSequences, *number)) {
        items_.erase(items_.begin() + current_);
        current_ = current_ > 0 ? current_ - 1 : 0;
        ShowSequenceItems();
    }
    ShowCurrentSequence();
    view().SetEnabled(kRemoveSequenceButton, items_.size() > 1);
    ApplyButtonRule();
}

void PageIsMinePresenter::ApplyButtonRule() {
    const unsigned buttons = DetectionPageButtons(model().device.DetectSequences);
    sheet().SetButtons(buttons);
    if ((buttons & kButtonNext) == 0 && attached()) {
        view().SetFocus(kAddAfterButton);
    }
}

void PageIsMinePresenter::OnStepAdded(std::size_t row, const InterruptStep& step) {
    if (DetectSequence* sequence = CurrentSequence()) {
        InsertStepText(*sequence, row, StepTextFromRow(step));
    }
}

void PageIsMinePresenter::OnStepEdited() {
    if (DetectSequence* sequence = CurrentSequence()) {
        SetStepsFromRows(*sequence, rows());
    }
}

void PageIsMinePresenter::OnStepRemoving(std::size_t row) {
    if (const std::optional<std::int32_t> number = CurrentNumber()) {
        RemoveStepMovingToEnd(model().device.DetectSequences, *number, row);
    }
}

PageSquelchPresenter::PageSquelchPresenter(SheetPresenter& sheet)
    : StepListPresenter(sheet, kPageSquelch,
                        "Tessaly Wizard - PXI - Interrupt Removal Information") {}

void PageSquelchPresenter::OnSetActive() {
    const std::string& committed = model().device.RemovalSteps;
    if (!committed.empty()) {
        ShowRows(RowsFromStepString(committed, StepSeparators::SpaceOrTab));
        EnableStepButtons(true);
    }
    sheet().SetButtons(kButtonBack | kButtonNext);
}

NavAnswer PageSquelchPresenter::OnWizardNext() {
    model().device.RemovalSteps = StepStringFromRows(rows());
    return NavAnswer::Default();
}

}  // namespace tessaly
