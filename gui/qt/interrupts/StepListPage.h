#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "gui/qt/WizardPage.h"
#include "interrupts/StepStrings.h"

class QHBoxLayout;
class QPushButton;
class QTreeWidget;

namespace tessaly {

// What the two interrupt pages share: the six-column step list and the buttons "Add a step
// &before", "Add a step &after", "&Edit a step" and "&Remove a step", which open the step editor
// through the prompter. The list's rows are the page's working copy; a page keeps its own
// values in step with them through the hooks. F2 or Enter on the list edits, Delete removes,
// a double click on a row edits.
class CStepListPage : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    // Builds the list and the row of step buttons, for the page to place.
    void CreateStepControls();
    QTreeWidget* stepList() const { return stepList_; }
    QHBoxLayout* stepButtons() const { return stepButtons_; }
    QPushButton* addAfterButton() const { return addAfterButton_; }

    std::vector<InterruptStep> Rows() const;
    void ShowRows(const std::vector<InterruptStep>& rows);
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
    bool InsertRow(std::size_t row, const InterruptStep& step);
    InterruptStep Row(std::size_t row) const;
    void SetRow(std::size_t row, const InterruptStep& step);

    QTreeWidget* stepList_ = nullptr;
    QHBoxLayout* stepButtons_ = nullptr;
    QPushButton* addBeforeButton_ = nullptr;
    QPushButton* addAfterButton_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
};

}  // namespace tessaly
