#include "gui/qt/interrupts/PageSquelch.h"

#include <QFrame>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CPageSquelch::CPageSquelch(CGatherIntrInfo& sheet)
    : CStepListPage(sheet, kPageSquelch,
                    QStringLiteral("Tessaly Wizard - PXI - Interrupt Removal Information")) {}

void CPageSquelch::CreateControls() {
    CreateStepControls();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Specify the steps needed to acknowledge an interrupt from your device.  The intent "
           "is to remove the interrupt condition from the PCI bus.  If the device is ROAK "
           "(release on acknowledge) and the required register was already read, this page may "
           "be blank."),
        this, QStringLiteral("removalIntroText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(stepList(), 1);
    layout->addLayout(stepButtons());
}

void CPageSquelch::OnSetActive() {
    const std::string& committed = model().device.RemovalSteps;
    if (!committed.empty()) {
        ShowRows(RowsFromStepString(committed, StepSeparators::SpaceOrTab));
        EnableStepButtons(true);
    }
    sheet().SetWizardButtons(kButtonBack | kButtonNext);
}

NavAnswer CPageSquelch::OnWizardNext() {
    model().device.RemovalSteps = StepStringFromRows(Rows());
    return NavAnswer::Default();
}

}  // namespace tessaly
