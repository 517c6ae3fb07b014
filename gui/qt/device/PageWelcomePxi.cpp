#include "gui/qt/device/PageWelcomePxi.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {

void CPageWelcomePxi::CreateControls() {
    auto* manufCode = new QLineEdit(this);
    auto* modelCode = new QLineEdit(this);
    auto* subsystemManufCode = new QLineEdit(this);
    auto* subsystemModelCode = new QLineEdit(this);
    auto* manufName = new QLineEdit(this);
    auto* modelName = new QLineEdit(this);
    auto* subsystemManufCodeLabel =
        MakeBuddyLabel(tr("&Subsystem Manufacturer ID"), subsystemManufCode, this, {});
    auto* subsystemModelCodeLabel =
        MakeBuddyLabel(tr("S&ubsystem Model Code"), subsystemModelCode, this, {});
    auto* usesSubsystem = new QCheckBox(tr("&Device uses subsystem"), this);
    auto* generatesInterrupts = new QCheckBox(tr("&Generates interrupts"), this);
    auto* load = new QPushButton(tr("&Load settings from Module Description File..."), this);
    auto* pickDevice = new QPushButton(tr("Pic&k from attached devices..."), this);
    auto* viewLoadedSettings =
        new QCheckBox(tr("&View or change loaded settings before generating files"), this);

    const std::pair<ControlId, QWidget*> controls[] = {
        {kManufCodeEdit, manufCode},
        {kModelCodeEdit, modelCode},
        {kSubsystemManufCodeEdit, subsystemManufCode},
        {kSubsystemModelCodeEdit, subsystemModelCode},
        {kManufNameEdit, manufName},
        {kModelNameEdit, modelName},
        {kSubsystemManufCodeLabel, subsystemManufCodeLabel},
        {kSubsystemModelCodeLabel, subsystemModelCodeLabel},
        {kUsesSubsystemCheck, usesSubsystem},
        {kGeneratesInterruptsCheck, generatesInterrupts},
        {kLoadModuleFileButton, load},
        {kPickDeviceButton, pickDevice},
        {kViewLoadedSettingsCheck, viewLoadedSettings},
    };
    for (const auto& [control, widget] : controls) {
        Bind(control, widget);
    }

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(DialogUnitsX(this, 10));
    fields->addWidget(MakeBuddyLabel(tr("PXI &Manufacturer ID"), manufCode, this,
                                     QStringLiteral("manufCodeLabel")),
                      0, 0);
    fields->addWidget(manufCode, 1, 0);
    fields->addWidget(
        MakeBuddyLabel(tr("PXI M&odel Code"), modelCode, this, QStringLiteral("modelCodeLabel")), 2,
        0);
    fields->addWidget(modelCode, 3, 0);
    fields->addWidget(subsystemManufCodeLabel, 0, 1);
    fields->addWidget(subsystemManufCode, 1, 1);
    fields->addWidget(subsystemModelCodeLabel, 2, 1);
    fields->addWidget(subsystemModelCode, 3, 1);
    fields->addWidget(
        MakeBuddyLabel(tr("Manufacture&r Name"), manufName, this, QStringLiteral("manufNameLabel")),
        0, 2);
    fields->addWidget(manufName, 1, 2);
    fields->addWidget(
        MakeBuddyLabel(tr("Model N&ame"), modelName, this, QStringLiteral("modelNameLabel")), 2, 2);
    fields->addWidget(modelName, 3, 2);
    fields->setColumnStretch(0, 1);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(2, 1);

    auto* checks = new QGridLayout;
    checks->addWidget(usesSubsystem, 0, 0);
    checks->addWidget(pickDevice, 0, 1, Qt::AlignRight);
    checks->addWidget(generatesInterrupts, 1, 0);
    checks->addWidget(load, 1, 1, Qt::AlignRight);
    checks->addWidget(viewLoadedSettings, 2, 0, 1, 2);
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
}

}  // namespace tessaly
