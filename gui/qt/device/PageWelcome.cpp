#include "gui/qt/device/PageWelcome.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {

void CPageWelcome::CreateControls() {
    auto* group = new QGroupBox(tr("Hardware Bus"), this);
    group->setObjectName(QStringLiteral("busGroup"));
    auto* pxiRadio = new QRadioButton(tr("&PXI / PCI"), group);
    auto* usbRadio = new QRadioButton(tr("&USB"), group);
    Bind(kPxiRadio, pxiRadio);
    Bind(kUsbRadio, usbRadio);
    auto* radios = new QHBoxLayout(group);
    radios->addWidget(pxiRadio);
    radios->addSpacing(DialogUnitsX(this, 40));
    radios->addWidget(usbRadio);
    radios->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Welcome to the Tessaly Wizard!  The wizard gathers the information that is "
           "necessary to allow ZEL-VISA to control your device.  Please select the hardware bus "
           "which your device will use."),
        this, QStringLiteral("welcomeText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(group);
    layout->addStretch(1);
}

}  // namespace tessaly
