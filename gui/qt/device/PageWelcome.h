#pragma once

#include "gui/qt/WizardPage.h"

class QRadioButton;

namespace tessaly {

// Page 1: the hardware bus, which decides the rest of the path.
class CPageWelcome final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageWelcome(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;

protected:
    void CreateControls() override;
    void OnInitDialog() override;

private:
    QRadioButton* pxiRadio_ = nullptr;  // 1057
    QRadioButton* usbRadio_ = nullptr;  // 1058
};

}  // namespace tessaly
