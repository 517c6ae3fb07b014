#include "gui/qt/device/PageWelcomePxi.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/DeviceChecks.h"
#include "discovery/DeviceChoice.h"
#include "discovery/DeviceSource.h"
#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"
#include "modulefile/ModuleLoader.h"
#include "output/Generation.h"

namespace tessaly {

CPageWelcomePxi::CPageWelcomePxi(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageWelcomePxi,
                  QStringLiteral("Tessaly Wizard - PXI - Basic Device Information")) {}

void CPageWelcomePxi::CreateControls() {
    manufCodeEdit_ = MakeLatin1Edit(QStringLiteral("manufCodeEdit"), this);
    modelCodeEdit_ = MakeLatin1Edit(QStringLiteral("modelCodeEdit"), this);
    subsystemManufCodeEdit_ = MakeLatin1Edit(QStringLiteral("subsystemManufCodeEdit"), this);
    subsystemModelCodeEdit_ = MakeLatin1Edit(QStringLiteral("subsystemModelCodeEdit"), this);
    manufNameEdit_ = MakeLatin1Edit(QStringLiteral("manufNameEdit"), this);
    modelNameEdit_ = MakeLatin1Edit(QStringLiteral("modelNameEdit"), this);
    subsystemManufCodeLabel_ =
        MakeBuddyLabel(tr("&Subsystem Manufacturer ID"), subsystemManufCodeEdit_, this,
                       QStringLiteral("subsystemManufCodeLabel"));
    subsystemModelCodeLabel_ = MakeBuddyLabel(tr("S&ubsystem Model Code"), subsystemModelCodeEdit_,
                                              this, QStringLiteral("subsystemModelCodeLabel"));

    usesSubsystemCheck_ = new QCheckBox(tr("&Device uses subsystem"), this);
    usesSubsystemCheck_->setObjectName(QStringLiteral("usesSubsystemCheck"));
    generatesInterruptsCheck_ = new QCheckBox(tr("&Generates interrupts"), this);
    generatesInterruptsCheck_->setObjectName(QStringLiteral("generatesInterruptsCheck"));
    loadButton_ = new QPushButton(tr("&Load settings from Module Description File..."), this);
    loadButton_->setObjectName(QStringLiteral("loadModuleFileButton"));
    pickDeviceButton_ = new QPushButton(tr("Pic&k from attached devices..."), this);
    pickDeviceButton_->setObjectName(QStringLiteral("pickDeviceButton"));
    viewLoadedSettingsCheck_ =
        new QCheckBox(tr("&View or change loaded settings before generating files"), this);
    viewLoadedSettingsCheck_->setObjectName(QStringLiteral("viewLoadedSettingsCheck"));
    viewLoadedSettingsCheck_->setEnabled(false);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(DialogUnitsX(this, 10));
    fields->addWidget(MakeBuddyLabel(tr("PXI &Manufacturer ID"), manufCodeEdit_, this,
                                     QStringLiteral("manufCodeLabel")),
                      0, 0);
    fields->addWidget(manufCodeEdit_, 1, 0);
    fields->addWidget(MakeBuddyLabel(tr("PXI M&odel Code"), modelCodeEdit_, this,
                                     QStringLiteral("modelCodeLabel")),
                      2, 0);
    fields->addWidget(modelCodeEdit_, 3, 0);
    fields->addWidget(subsystemManufCodeLabel_, 0, 1);
    fields->addWidget(subsystemManufCodeEdit_, 1, 1);
    fields->addWidget(subsystemModelCodeLabel_, 2, 1);
    fields->addWidget(subsystemModelCodeEdit_, 3, 1);
    fields->addWidget(MakeBuddyLabel(tr("Manufacture&r Name"), manufNameEdit_, this,
                                     QStringLiteral("manufNameLabel")),
                      0, 2);
    fields->addWidget(manufNameEdit_, 1, 2);
    fields->addWidget(
        MakeBuddyLabel(tr("Model N&ame"), modelNameEdit_, this, QStringLiteral("modelNameLabel")),
        2, 2);
    fields->addWidget(modelNameEdit_, 3, 2);
    fields->setColumnStretch(0, 1);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(2, 1);

    auto* checks = new QGridLayout;
    checks->addWidget(usesSubsystemCheck_, 0, 0);
    checks->addWidget(pickDeviceButton_, 0, 1, Qt::AlignRight);
    checks->addWidget(generatesInterruptsCheck_, 1, 0);
    checks->addWidget(loadButton_, 1, 1, Qt::AlignRight);
    checks->addWidget(viewLoadedSettingsCheck_, 2, 0, 1, 2);
    checks->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("Welcome to the Tessaly Wizard for PXI!  The wizard gathers the information that is "
           "necessary to allow ZEL-VISA to control your PXI or PCI device.  Please enter the "
           "basic device information below."),
        this, QStringLiteral("welcomeText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(MakeText(
        tr("This wizard will generate .INF files for Windows 98/Me, Windows NT, Windows XP/2000, "
           "and Vantorix RT.  The .INF file tells the operating system to allow ZEL-VISA to "
           "access the PXI or PCI device that you specify below."),
        this, QStringLiteral("filesText")));
    layout->addSpacing(DialogUnitsY(this, 4));
    layout->addLayout(fields);
    layout->addLayout(checks);
    layout->addStretch(1);

    for (QLineEdit* id :
         {manufCodeEdit_, modelCodeEdit_, subsystemManufCodeEdit_, subsystemModelCodeEdit_}) {
        WatchFocusLoss(id);
    }
    connect(usesSubsystemCheck_, &QCheckBox::clicked, this, [this] { ApplySubsystemRule(); });
    connect(loadButton_, &QPushButton::clicked, this, [this] { LoadModuleFile(); });
    connect(pickDeviceButton_, &QPushButton::clicked, this, [this] { PickAttachedDevice(); });
}

void CPageWelcomePxi::OnInitDialog() {
    UpdateData(false);
    ApplySubsystemRule();
}

std::array<FieldBinding, 6> CPageWelcomePxi::Fields() const {
    DeviceDescription& device = model().device;
    return {{
        {manufCodeEdit_, &device.ManufCode, true},
        {modelCodeEdit_, &device.ModelCode, true},
        {subsystemManufCodeEdit_, &device.SubsystemManufCode, true},
        {subsystemModelCodeEdit_, &device.SubsystemModelCode, true},
        {manufNameEdit_, &device.ManufName},
        {modelNameEdit_, &device.ModelName},
    }};
}

void CPageWelcomePxi::DoDataExchange(bool save) {
    ExchangeFields(Fields(), save);
    DeviceDescription& device = model().device;
    if (save) {
        device.UsesSubsystem = usesSubsystemCheck_->isChecked();
        device.GeneratesInterrupts = generatesInterruptsCheck_->isChecked();
    } else {
        usesSubsystemCheck_->setChecked(device.UsesSubsystem);
        generatesInterruptsCheck_->setChecked(device.GeneratesInterrupts);
    }
}

void CPageWelcomePxi::OnFocusLost(QWidget* field) {
    CommitLeftId(Fields(), field);
}

void CPageWelcomePxi::ApplySubsystemRule() {
    const bool enabled = usesSubsystemCheck_->isChecked();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{subsystemManufCodeEdit_, subsystemModelCodeEdit_,
                                         subsystemManufCodeLabel_, subsystemModelCodeLabel_}) {
        widget->setEnabled(enabled);
    }
}

void CPageWelcomePxi::LoadModuleFile() {
    const std::optional<std::string> path = sheet().prompter().ChooseFileToOpen(
        "Open Module Description File",
        "Module Description Files (*.ini)|*.ini|All Files (*.*)|*.*||", "ini");
    if (!path) {
        return;
    }
    UpdateData(true);
    if (LoadModuleDescriptionFile(model(), *path, sheet().platform().files, sheet().prompter()) ==
        0) {
        viewLoadedSettingsCheck_->setEnabled(true);
    }
    UpdateData(false);
    ApplySubsystemRule();
}

// The chosen function's values go in as typed ones would: the page's rules and checks apply.
void CPageWelcomePxi::PickAttachedDevice() {
    DeviceSource& source = sheet().platform().devices;
    const std::vector<PciDevice> devices = source.PciDevices();
    const IdDatabase ids = source.LoadIds("pci.ids");
    const std::optional<std::size_t> chosen =
        sheet().prompter().ChooseAttachedDevice(PciDeviceTable(devices, ids));
    if (!chosen || *chosen >= devices.size()) {
        return;
    }
    UpdateData(true);
    const std::optional<std::string> leftOut =
        ApplyPciChoice(model().device, devices[*chosen], ids);
    UpdateData(false);
    ApplySubsystemRule();
    if (leftOut) {
        sheet().prompter().ShowMessage(*leftOut, MessageIcon::Exclamation);
    }
}

void CPageWelcomePxi::OnSetActive() {
    sheet().SetWizardButtons(kButtonBack | kButtonNext);
}

NavAnswer CPageWelcomePxi::OnWizardNext() {
    UpdateData(true);
    if (const auto message = CheckPxiPage(model().device)) {
        sheet().prompter().ShowMessage(std::string(*message), MessageIcon::Stop);
        return NavAnswer::Stay();
    }
    if (viewLoadedSettingsCheck_->isEnabled() && !viewLoadedSettingsCheck_->isChecked()) {
        const int failed = GenerateAll(model(), sheet().platform(), sheet().prompter(),
                                       GenerationSource::DefaultDirectory, false);
        return failed == 0 ? NavAnswer::To(kPageAfterSaveAction) : NavAnswer::Stay();
    }
    return NextFrom(kPageWelcomePxi, {.generatesInterrupts = model().device.GeneratesInterrupts});
}

NavAnswer CPageWelcomePxi::OnWizardBack() {
    return NavAnswer::To(kPageWelcome);
}

}  // namespace tessaly
