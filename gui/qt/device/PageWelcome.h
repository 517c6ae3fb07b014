#pragma once

#include "gui/qt/WizardPage.h"

namespace tessaly {

// Page 1: the hardware bus.
class CPageWelcome final : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
