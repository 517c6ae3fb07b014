#include "gui/qt/interrupts/PageSquelch.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/qt/QtControlView.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

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

}  // namespace tessaly
