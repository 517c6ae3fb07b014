#include "gui/qt/device/PageWelcome.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CPageWelcome::CPageWelcome(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageWelcome, QStringLiteral("Tessaly Wizard - Hardware Bus")) {}

void CPageWelcome::CreateControls() {
    auto* group = new QGroupBox(tr("Hardware Bus"), this);
    group->setObjectName(QStringLiteral("busGroup"));
    pxiRadio_ = new QRadioButton(tr("&PXI / PCI"), group);
    pxiRadio_->setObjectName(QStringLiteral("pxiRadio"));
    usbRadio_ = new QRadioButton(tr("&USB"), group);
    usbRadio_->setObjectName(QStringLiteral("usbRadio"));
    auto* radios = new QHBoxLayout(group);
    radios->addWidget(pxiRadio_);
    radios->addSpacing(DialogUnitsX(this, 40));
    radios->addWidget(usbRadio_);
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

void CPageWelcome::OnInitDialog() {
    // The radio buttons take the bus once; afterwards they carry the user's choice.
    const int bus = model().device.BusType;
    pxiRadio_->setChecked(bus == kBusPxi);
    usbRadio_->setChecked(bus == kBusUsb);
}

void CPageWelcome::OnSetActive() {
    sheet().SetWizardButtons(kButtonNext);
}

NavAnswer CPageWelcome::OnWizardNext() {
    int& bus = model().device.BusType;
    if (pxiRadio_->isChecked()) {
        bus = kBusPxi;
    } else if (usbRadio_->isChecked()) {
        bus = kBusUsb;
    }
    return NextFrom(kPageWelcome, {.bus = bus});
}

}  // namespace tessaly
