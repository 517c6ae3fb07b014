#pragma once

#include <optional>

#include "gui/qt/interrupts/StepListPage.h"

class QComboBox;
class QPushButton;

namespace tessaly {

// Page 4: the interrupt detection sequences. Every change goes into DetectSequences at once;
// Next is offered only while each sequence holds a Compare step.
class CPageIsMine final : public CStepListPage {
    Q_OBJECT
public:
    explicit CPageIsMine(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardBack() override;
    QWidget* FocusWithoutNext() const override;

protected:
    void CreateControls() override;

    void OnStepAdded(std::size_t row, const InterruptStep& step) override;
    void OnStepEdited() override;
    void OnStepRemoving(std::size_t row) override;
    void OnStepsChanged() override { ApplyButtonRule(); }

private:
    void RebuildSequenceList();
    void ShowCurrentSequence();
    void AddSequence();
    void RemoveSequence();
    void ApplyButtonRule();
    void AddSequenceItem(std::int32_t number);
    // The Number tied to the selected item, if one is selected.
    std::optional<std::int32_t> CurrentNumber() const;
    DetectSequence* CurrentSequence() const;

    QComboBox* sequenceCombo_ = nullptr;
    QPushButton* addSequenceButton_ = nullptr;
    QPushButton* removeSequenceButton_ = nullptr;
};

}  // namespace tessaly
