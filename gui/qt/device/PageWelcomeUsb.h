#pragma once

#include <array>

#include "gui/qt/WidgetSupport.h"
#include "gui/qt/WizardPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tessaly {

// Page 3: the USB identifiers and names, and the interface count of a compound device.
class CPageWelcomeUsb final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageWelcomeUsb(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;
    NavAnswer OnWizardBack() override;

protected:
    void CreateControls() override;
    void OnInitDialog() override;
    void DoDataExchange(bool save) override;
    void OnFocusLost(QWidget* field) override;

private:
    std::array<FieldBinding, 5> Fields() const;
    void ApplyCompoundRule();
    void PickAttachedDevice();

    QLineEdit* vendorIdEdit_ = nullptr;        // 1075
    QLineEdit* productIdEdit_ = nullptr;       // 1077
    QLineEdit* manufNameEdit_ = nullptr;       // 1076
    QLineEdit* modelNameEdit_ = nullptr;       // 1078
    QCheckBox* compoundCheck_ = nullptr;       // 1062
    QLineEdit* interfaceCountEdit_ = nullptr;  // 1063
    QPushButton* pickDeviceButton_ = nullptr;
};

}  // namespace tessaly
