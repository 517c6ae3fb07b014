#include "gui/qt/interrupts/PageIsMine.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt/QtControlView.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

void CPageIsMine::CreateControls() {
    // Created in tab order.
    auto* sequences = new QComboBox(this);
    sequences->setEditable(false);
    sequences->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    sequences->setMinimumWidth(DialogUnitsX(this, 80));
    auto* addSequence = new QPushButton(tr("Add &Sequence"), this);
    auto* removeSequence = new QPushButton(tr("Remove Se&quence"), this);
    Bind(kSequenceCombo, sequences);
    Bind(kAddSequenceButton, addSequence);
    Bind(kRemoveSequenceButton, removeSequence);
    CreateStepControls();

    auto* sequenceRow = new QHBoxLayout;
    sequenceRow->addWidget(sequences);
    sequenceRow->addWidget(addSequence);
    sequenceRow->addWidget(removeSequence);
    sequenceRow->addStretch(1);

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
    layout->addLayout(sequenceRow);
    layout->addWidget(stepList(), 1);
    layout->addLayout(stepButtons());
}

}  // namespace tessaly
