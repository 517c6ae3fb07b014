#include "interrupts/PageIsMine.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/GatherIntrInfo.h"
#include "app/WidgetSupport.h"

namespace tessaly {

CPageIsMine::CPageIsMine(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageIsMine,
                  QStringLiteral("Tessaly Wizard - PXI - Interrupt Detection Information")) {}

void CPageIsMine::CreateControls() {
    sequences_ = new QPlainTextEdit(this);
    sequences_->setObjectName(QStringLiteral("detectSequencesText"));
    sequences_->setReadOnly(true);
    sequences_->setTabChangesFocus(true);
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
    layout->addWidget(sequences_, 1);
}

void CPageIsMine::OnSetActive() {
    WizardModel& m = model();
    if (m.RefreshOnActivate) {
        m.RefreshOnActivate = false;
        if (m.device.DetectSequences.empty()) {
            m.device.DetectSequences.push_back(DetectSequence{0, {}, 0});
        }
    }
    QString text;
    for (const DetectSequence& sequence : m.device.DetectSequences) {
        text +=
            QStringLiteral("Sequence %1: %2\n").arg(sequence.Number).arg(FromBytes(sequence.Steps));
    }
    sequences_->setPlainText(text);
    sheet().SetWizardButtons(DetectionPageButtons(m.device.DetectSequences));
}

NavAnswer CPageIsMine::OnWizardBack() {
    return NavAnswer::To(kPageWelcomePxi);
}

}  // namespace tessaly
