#pragma once

#include "gui/qt/WizardPage.h"

namespace tessaly {

// Page 6: the instrument prefix, the output directory and the files the generation writes.
class CPageFinal final : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
