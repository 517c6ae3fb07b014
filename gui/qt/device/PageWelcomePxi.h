#pragma once

#include "gui/qt/WizardPage.h"

namespace tessaly {

// Page 2: the PXI/PCI identifiers and names, or a Module Description File to take them from.
class CPageWelcomePxi final : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
