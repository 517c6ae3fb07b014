#include "gui/qt/device/PageWelcomeUsb.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {

void CPageWelcomeUsb::CreateControls() {
    auto* vendorId = new QLineEdit(this);
    auto* productId = new QLineEdit(this);
    auto* manufName = new QLineEdit(this);
    auto* modelName = new QLineEdit(this);
    auto* compound = new QCheckBox(tr("This is a &compound device which has"), this);
    auto* interfaceCount = new QLineEdit(this);
    interfaceCount->setAlignment(Qt::AlignRight);
    interfaceCount->setFixedWidth(DialogUnitsX(this, 24));
    auto* pickDevice = new QPushButton(tr("Pic&k from attached devices..."), this);
    const std::pair<ControlId, QWidget*> controls[] = {
        {kUsbVendorIdEdit, vendorId},     {kUsbProductIdEdit, productId},
        {kUsbManufNameEdit, manufName},   {kUsbModelNameEdit, modelName},
        {kCompoundDeviceCheck, compound}, {kInterfaceCountEdit, interfaceCount},
        {kPickDeviceButton, pickDevice},
    };
    for (const auto& [control, widget] : controls) {
        Bind(control, widget);
    }

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(DialogUnitsX(this, 10));
    fields->addWidget(MakeBuddyLabel(tr("USB &Manufacturer ID (Vendor ID)"), vendorId, this,
                                     QStringLiteral("usbVendorIdLabel")),
                      0, 0);
    fields->addWidget(vendorId, 1, 0);
    fields->addWidget(MakeBuddyLabel(tr("USB M&odel Code (Product ID)"), productId, this,
                                     QStringLiteral("usbProductIdLabel")),
                      2, 0);
    fields->addWidget(productId, 3, 0);
    fields->addWidget(MakeBuddyLabel(tr("Manufacture&r Name"), manufName, this,
                                     QStringLiteral("usbManufNameLabel")),
                      0, 1);
    fields->addWidget(manufName, 1, 1);
    fields->addWidget(
        MakeBuddyLabel(tr("Model N&ame"), modelName, this, QStringLiteral("usbModelNameLabel")), 2,
        1);
    fields->addWidget(modelName, 3, 1);
    fields->setColumnStretch(0, 1);
    fields->setColumnStretch(1, 1);

    auto* compoundRow = new QHBoxLayout;
    compoundRow->addWidget(compound);
    compoundRow->addWidget(interfaceCount);
    auto* interfacesText = new QLabel(tr("interfaces."), this);
    interfacesText->setObjectName(QStringLiteral("interfacesText"));
    compoundRow->addWidget(interfacesText);
    compoundRow->addStretch(1);
    compoundRow->addWidget(pickDevice);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Welcome to the Tessaly Wizard for USB!  The wizard gathers the information that is "
           "necessary to allow ZEL-VISA to control your USB device.  Please enter the basic "
           "device information below."),
        this, QStringLiteral("welcomeText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(MakeText(
        tr("This wizard will generate .INF file for use with Windows 98, Windows Me,  Windows "
           "2000, or Windows XP.  The .INF file tells the operating system to allow ZEL-VISA to "
           "access the USB device that you specify below."),
        this, QStringLiteral("filesText")));
    layout->addSpacing(DialogUnitsY(this, 4));
    layout->addLayout(fields);
    layout->addLayout(compoundRow);
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(MakeText(
        tr("NOTE: Using this wizard may not be necessary.  ZEL-VISA may already be able to "
           "detect your USB instrument if it conforms to the USB Test & Measurement Class "
           "(USBTMC) protocol.  If this is the case, DO NOT use this wizard to create an "
           "additional .INF file."),
        this, QStringLiteral("usbtmcNote")));
    layout->addStretch(1);
}

}  // namespace tessaly
