#pragma once

#include <array>

#include "gui/qt/WidgetSupport.h"
#include "gui/qt/WizardPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaly {

// Page 2: the PXI/PCI identifiers and names, or a Module Description File to take them from.
class CPageWelcomePxi final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageWelcomePxi(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;
    NavAnswer OnWizardBack() override;

protected:
    void CreateControls() override;
    void OnInitDialog() override;
    void DoDataExchange(bool save) override;
    void OnFocusLost(QWidget* field) override;

private:
    std::array<FieldBinding, 6> Fields() const;
    void ApplySubsystemRule();
    void LoadModuleFile();
    void PickAttachedDevice();

    QLineEdit* manufCodeEdit_ = nullptr;           // 1000
    QLineEdit* modelCodeEdit_ = nullptr;           // 1001
    QLineEdit* subsystemManufCodeEdit_ = nullptr;  // 1005
    QLineEdit* subsystemModelCodeEdit_ = nullptr;  // 1006
    QLineEdit* manufNameEdit_ = nullptr;           // 1004
    QLineEdit* modelNameEdit_ = nullptr;           // 1003
    QLabel* subsystemManufCodeLabel_ = nullptr;
    QLabel* subsystemModelCodeLabel_ = nullptr;
    QCheckBox* usesSubsystemCheck_ = nullptr;        // 1007
    QCheckBox* generatesInterruptsCheck_ = nullptr;  // 1002
    QPushButton* loadButton_ = nullptr;              // 1096
    QCheckBox* viewLoadedSettingsCheck_ = nullptr;   // 1085
    QPushButton* pickDeviceButton_ = nullptr;
};

}  // namespace tessaly
