#include "gui/qt/device/PageWelcomeUsb.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "device/DeviceChecks.h"
#include "discovery/DeviceChoice.h"
#include "discovery/DeviceSource.h"
#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CPageWelcomeUsb::CPageWelcomeUsb(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageWelcomeUsb,
                  QStringLiteral("Tessaly Wizard - USB - Basic Device Information")) {}

void CPageWelcomeUsb::CreateControls() {
    vendorIdEdit_ = MakeLatin1Edit(QStringLiteral("usbVendorIdEdit"), this);
    productIdEdit_ = MakeLatin1Edit(QStringLiteral("usbProductIdEdit"), this);
    manufNameEdit_ = MakeLatin1Edit(QStringLiteral("usbManufNameEdit"), this);
    modelNameEdit_ = MakeLatin1Edit(QStringLiteral("usbModelNameEdit"), this);
    compoundCheck_ = new QCheckBox(tr("This is a &compound device which has"), this);
    compoundCheck_->setObjectName(QStringLiteral("compoundDeviceCheck"));
    interfaceCountEdit_ = new QLineEdit(this);
    interfaceCountEdit_->setObjectName(QStringLiteral("interfaceCountEdit"));
    interfaceCountEdit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*")), interfaceCountEdit_));
    interfaceCountEdit_->setAlignment(Qt::AlignRight);
    interfaceCountEdit_->setFixedWidth(DialogUnitsX(this, 24));
    pickDeviceButton_ = new QPushButton(tr("Pic&k from attached devices..."), this);
    pickDeviceButton_->setObjectName(QStringLiteral("pickDeviceButton"));

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(DialogUnitsX(this, 10));
    fields->addWidget(MakeBuddyLabel(tr("USB &Manufacturer ID (Vendor ID)"), vendorIdEdit_, this,
                                     QStringLiteral("usbVendorIdLabel")),
                      0, 0);
    fields->addWidget(vendorIdEdit_, 1, 0);
    fields->addWidget(MakeBuddyLabel(tr("USB M&odel Code (Product ID)"), productIdEdit_, this,
                                     QStringLiteral("usbProductIdLabel")),
                      2, 0);
    fields->addWidget(productIdEdit_, 3, 0);
    fields->addWidget(MakeBuddyLabel(tr("Manufacture&r Name"), manufNameEdit_, this,
                                     QStringLiteral("usbManufNameLabel")),
                      0, 1);
    fields->addWidget(manufNameEdit_, 1, 1);
    fields->addWidget(MakeBuddyLabel(tr("Model N&ame"), modelNameEdit_, this,
                                     QStringLiteral("usbModelNameLabel")),
                      2, 1);
    fields->addWidget(modelNameEdit_, 3, 1);
    fields->setColumnStretch(0, 1);
    fields->setColumnStretch(1, 1);

    auto* compound = new QHBoxLayout;
    compound->addWidget(compoundCheck_);
    compound->addWidget(interfaceCountEdit_);
    auto* interfacesText = new QLabel(tr("interfaces."), this);
    interfacesText->setObjectName(QStringLiteral("interfacesText"));
    compound->addWidget(interfacesText);
    compound->addStretch(1);
    compound->addWidget(pickDeviceButton_);

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
    layout->addLayout(compound);
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(MakeText(
        tr("NOTE: Using this wizard may not be necessary.  ZEL-VISA may already be able to "
           "detect your USB instrument if it conforms to the USB Test & Measurement Class "
           "(USBTMC) protocol.  If this is the case, DO NOT use this wizard to create an "
           "additional .INF file."),
        this, QStringLiteral("usbtmcNote")));
    layout->addStretch(1);

    WatchFocusLoss(vendorIdEdit_);
    WatchFocusLoss(productIdEdit_);
    connect(compoundCheck_, &QCheckBox::clicked, this, [this] { ApplyCompoundRule(); });
    connect(pickDeviceButton_, &QPushButton::clicked, this, [this] { PickAttachedDevice(); });
}

void CPageWelcomeUsb::OnInitDialog() {
    UpdateData(false);
    ApplyCompoundRule();
}

std::array<FieldBinding, 5> CPageWelcomeUsb::Fields() const {
    DeviceDescription& device = model().device;
    return {{
        {vendorIdEdit_, &device.UsbVendorId, true},
        {productIdEdit_, &device.UsbProductId, true},
        {manufNameEdit_, &device.UsbManufName},
        {modelNameEdit_, &device.UsbModelName},
        {interfaceCountEdit_, &device.InterfaceCountText},
    }};
}

void CPageWelcomeUsb::DoDataExchange(bool save) {
    ExchangeFields(Fields(), save);
    DeviceDescription& device = model().device;
    if (save) {
        device.IsCompoundDevice = compoundCheck_->isChecked();
    } else {
        compoundCheck_->setChecked(device.IsCompoundDevice);
    }
}

void CPageWelcomeUsb::OnFocusLost(QWidget* field) {
    CommitLeftId(Fields(), field);
}

void CPageWelcomeUsb::ApplyCompoundRule() {
    interfaceCountEdit_->setEnabled(compoundCheck_->isChecked());
}

// The chosen device's values go in as typed ones would: the page's rules and checks apply.
void CPageWelcomeUsb::PickAttachedDevice() {
    DeviceSource& source = sheet().platform().devices;
    const std::vector<UsbDevice> devices = source.UsbDevices();
    const IdDatabase ids = source.LoadIds("usb.ids");
    const std::optional<std::size_t> chosen =
        sheet().prompter().ChooseAttachedDevice(UsbDeviceTable(devices, ids));
    if (!chosen || *chosen >= devices.size()) {
        return;
    }
    UpdateData(true);
    const std::optional<std::string> leftOut =
        ApplyUsbChoice(model().device, devices[*chosen], ids);
    UpdateData(false);
    ApplyCompoundRule();
    if (leftOut) {
        sheet().prompter().ShowMessage(*leftOut, MessageIcon::Exclamation);
    }
}

void CPageWelcomeUsb::OnSetActive() {
    sheet().SetWizardButtons(kButtonBack | kButtonNext);
}

NavAnswer CPageWelcomeUsb::OnWizardNext() {
    UpdateData(true);
    if (const auto message = CheckUsbPage(model().device)) {
        sheet().prompter().ShowMessage(std::string(*message), MessageIcon::Stop);
        return NavAnswer::Stay();
    }
    UpdateData(false);
    return NavAnswer::To(kPageFinal);
}

NavAnswer CPageWelcomeUsb::OnWizardBack() {
    return NavAnswer::To(kPageWelcome);
}

}  // namespace tessaly
