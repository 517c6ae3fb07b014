#pragma once

#include "gui/qt/WizardPage.h"

namespace tessaly {

// Page 3: the USB identifiers and names, and the interface count of a compound device.
class CPageWelcomeUsb final : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
