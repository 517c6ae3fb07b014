#pragma once

#include "gui/qt/WizardPage.h"

namespace tessaly {

// Page 7: what to do with the generated files.
class CPageAfterSaveAction final : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
