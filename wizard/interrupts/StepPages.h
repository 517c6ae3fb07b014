#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "interrupts/StepStrings.h"
#include "wizard/PagePresenter.h"

namespace tessaly {

// What the two interrupt pages share: the six-column step list and the buttons "Add a step
// &before", "Add a step &after", "&Edit a step" and "&Remove a step", which open the step editor.
// The rows are the page's working copy; a page keeps its own values in step with them through
// the hooks. F2 or Enter on the list edits, Delete removes, a double click on a row edits.
class StepListPresenter : public PagePresenter {
public:
    using PagePresenter::PagePresenter;

    void OnClicked(ControlId control) override;
    void OnRowActivated(ControlId control, std::size_t row) override;
    bool OnRowKey(ControlId control, RowKey key) override;

    const std::vector<InterruptStep>& rows() const { return rows_; }

protected:
    void OnInitDialog() override;
    void ShowRows(std::vector<InterruptStep> rows);
    // "&Edit a step" and "&Remove a step".
    void EnableStepButtons(bool enabled);

    // A row was added at `row`, rewritten, or is about to be deleted.
    virtual void OnStepAdded(std::size_t row, const InterruptStep& step) {
        (void)row;
        (void)step;
    }
    virtual void OnStepEdited() {}
    virtual void OnStepRemoving(std::size_t row) { (void)row; }
    // After each of the step operations that changed something.
    virtual void OnStepsChanged() {}

private:
    void AddStep(bool after);
    void EditStep(bool beepWithoutSelection);
    void RemoveStep();
    std::optional<std::size_t> FirstSelectedRow() const;

    std::vector<InterruptStep> rows_;
    bool stepButtonsEnabled_ = false;
};

// Page 4: the interrupt detection sequences. Every change goes into DetectSequences at once;
// Next is offered only while each sequence holds a Compare step.
class PageIsMinePresenter final : public StepListPresenter {
public:
    explicit PageIsMinePresenter(SheetPresenter& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardBack() override;
    bool FocusWithoutNext() override;
    void OnClicked(ControlId control) override;
    void OnItemChosen(ControlId control, int index) override;

protected:
    void OnInitDialog() override;
    void OnStepAdded(std::size_t row, const InterruptStep& step) override;
    void OnStepEdited() override;
    void OnStepRemoving(std::size_t row) override;
    void OnStepsChanged() override { ApplyButtonRule(); }

private:
    void RebuildSequenceList();
    void ShowSequenceItems();
    void ShowCurrentSequence();
    void AddSequence();
    void RemoveSequence();
    void ApplyButtonRule();
    // The Number tied to the selected item, if one is selected.
    std::optional<std::int32_t> CurrentNumber() const;
    DetectSequence* CurrentSequence() const;

    std::vector<std::int32_t> items_;  // the Number each item of the sequence list stands for
    int current_ = -1;                 // the selected item
};

// Page 5: the interrupt removal steps. The rows are a working copy that Next commits to
// RemovalSteps; Back leaves RemovalSteps as it was, and when it is not empty the next activation
// shows it again in place of the rows left uncommitted.
class PageSquelchPresenter final : public StepListPresenter {
public:
    explicit PageSquelchPresenter(SheetPresenter& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;
};

}  // namespace tessaly
