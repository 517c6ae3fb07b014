#include "interrupts/PageSquelch.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/GatherIntrInfo.h"
#include "app/WidgetSupport.h"

namespace tessaly {

CPageSquelch::CPageSquelch(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageSquelch,
                  QStringLiteral("Tessaly Wizard - PXI - Interrupt Removal Information")) {}

void CPageSquelch::CreateControls() {
    steps_ = new QPlainTextEdit(this);
    steps_->setObjectName(QStringLiteral("removalStepsText"));
    steps_->setReadOnly(true);
    steps_->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Specify the steps needed to acknowledge an interrupt from your device.  The intent "
           "is to remove the interrupt condition from the PCI bus.  If the device is ROAK "
           "(release on acknowledge) and the required register was already read, this page may "
           "be blank."),
        this, QStringLiteral("removalIntroText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(steps_, 1);
}

void CPageSquelch::OnSetActive() {
    steps_->setPlainText(FromBytes(model().device.RemovalSteps));
    sheet().SetWizardButtons(kButtonBack | kButtonNext);
}

}  // namespace tessaly
