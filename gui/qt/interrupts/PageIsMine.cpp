#include "gui/qt/interrupts/PageIsMine.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"
#include "interrupts/SequenceEdits.h"

namespace tessaly {

CPageIsMine::CPageIsMine(CGatherIntrInfo& sheet)
    : CStepListPage(sheet, kPageIsMine,
                    QStringLiteral("Tessaly Wizard - PXI - Interrupt Detection Information")) {}

void CPageIsMine::CreateControls() {
    // Created in tab order.
    sequenceCombo_ = new QComboBox(this);
    sequenceCombo_->setObjectName(QStringLiteral("sequenceCombo"));
    sequenceCombo_->setEditable(false);
    sequenceCombo_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    sequenceCombo_->setMinimumWidth(DialogUnitsX(this, 80));
    addSequenceButton_ = new QPushButton(tr("Add &Sequence"), this);
    addSequenceButton_->setObjectName(QStringLiteral("addSequenceButton"));
    removeSequenceButton_ = new QPushButton(tr("Remove Se&quence"), this);
    removeSequenceButton_->setObjectName(QStringLiteral("removeSequenceButton"));
    removeSequenceButton_->setEnabled(false);
    CreateStepControls();

    auto* sequences = new QHBoxLayout;
    sequences->addWidget(sequenceCombo_);
    sequences->addWidget(addSequenceButton_);
    sequences->addWidget(removeSequenceButton_);
    sequences->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Specify the steps to determine whether your device is generating a given interrupt.  "
           "The sequence is considered successful (true) only if all 'Compare' steps match.  "
           "There must be at least one such 'Compare' step in each sequence."),
        this, QStringLiteral("detectIntroText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(MakeText(tr("At least one sequence must be considered successful (true) "
                                  "for the interrupt to be deemed to belong to this device."),
                               this, QStringLiteral("detectRuleText")));
    layout->addLayout(sequences);
    layout->addWidget(stepList(), 1);
    layout->addLayout(stepButtons());

    connect(sequenceCombo_, &QComboBox::activated, this, [this] { ShowCurrentSequence(); });
    connect(addSequenceButton_, &QPushButton::clicked, this, [this] { AddSequence(); });
    connect(removeSequenceButton_, &QPushButton::clicked, this, [this] { RemoveSequence(); });
}

void CPageIsMine::OnSetActive() {
    ApplyButtonRule();
    if (model().RefreshOnActivate) {
        RebuildSequenceList();
        model().RefreshOnActivate = false;
    }
}

NavAnswer CPageIsMine::OnWizardBack() {
    return NavAnswer::To(kPageWelcomePxi);
}

QWidget* CPageIsMine::FocusWithoutNext() const {
    return addAfterButton();
}

void CPageIsMine::RebuildSequenceList() {
    std::vector<DetectSequence>& sequences = model().device.DetectSequences;
    sequenceCombo_->clear();
    AddSequenceItem(0);
    sequenceCombo_->setCurrentIndex(0);
    // The loader numbers its sequences 0, 1, 2, ... in file order.
    for (std::size_t i = 1; i < sequences.size(); ++i) {
        AddSequenceItem(static_cast<std::int32_t>(i));
    }
    if (sequences.empty()) {
        sequences.push_back(DetectSequence{0, {}, 0});
    }
    // Also when nothing was loaded: rows of an earlier visit go.
    ShowCurrentSequence();
    removeSequenceButton_->setEnabled(sequenceCombo_->count() > 1);
}

void CPageIsMine::AddSequenceItem(std::int32_t number) {
    sequenceCombo_->addItem(tr("Sequence %1").arg(number), number);
}

std::optional<std::int32_t> CPageIsMine::CurrentNumber() const {
    if (sequenceCombo_->currentIndex() < 0) {
        return std::nullopt;
    }
    return sequenceCombo_->currentData().toInt();
}

DetectSequence* CPageIsMine::CurrentSequence() const {
    const std::optional<std::int32_t> number = CurrentNumber();
    return number ? FindDetectSequence(model().device.DetectSequences, *number) : nullptr;
}

void CPageIsMine::ShowCurrentSequence() {
    ShowRows({});
    const DetectSequence* sequence = CurrentSequence();
    if (!sequence) {
        ApplyButtonRule();
        return;
    }
    ShowRows(RowsFromStepString(sequence->Steps, StepSeparators::Space));
    EnableStepButtons(sequence->StepCount > 0);
    ApplyButtonRule();
}

void CPageIsMine::AddSequence() {
    const std::int32_t number = AddDetectSequence(model().device.DetectSequences);
    AddSequenceItem(number);
    sequenceCombo_->setCurrentIndex(sequenceCombo_->count() - 1);
    removeSequenceButton_->setEnabled(true);
    ShowCurrentSequence();
}

void CPageIsMine::RemoveSequence() {
    const int index = sequenceCombo_->currentIndex();
    const std::optional<std::int32_t> number = CurrentNumber();
    if (number && RemoveDetectSequence(model().device.DetectSequences, *number)) {
        sequenceCombo_->setCurrentIndex(-1);
        sequenceCombo_->removeItem(index);
        sequenceCombo_->setCurrentIndex(index > 0 ? index - 1 : 0);
    }
    ShowCurrentSequence();
    removeSequenceButton_->setEnabled(sequenceCombo_->count() > 1);
    ApplyButtonRule();
}

void CPageIsMine::ApplyButtonRule() {
    const unsigned buttons = DetectionPageButtons(model().device.DetectSequences);
    sheet().SetWizardButtons(buttons);
    if ((buttons & kButtonNext) == 0 && IsCreated()) {
        addAfterButton()->setFocus(Qt::OtherFocusReason);
    }
}

void CPageIsMine::OnStepAdded(std::size_t row, const InterruptStep& step) {
    if (DetectSequence* sequence = CurrentSequence()) {
        InsertStepText(*sequence, row, StepTextFromRow(step));
    }
}

void CPageIsMine::OnStepEdited() {
    if (DetectSequence* sequence = CurrentSequence()) {
        SetStepsFromRows(*sequence, Rows());
    }
}

void CPageIsMine::OnStepRemoving(std::size_t row) {
    if (const std::optional<std::int32_t> number = CurrentNumber()) {
        RemoveStepMovingToEnd(model().device.DetectSequences, *number, row);
    }
}

}  // namespace tessaly
