#pragma once

#include "gui/qt/WizardPage.h"

namespace tessaly {

// Page 8: copies the real-time INF to a real-time target over FTP.
class CPageUseFTP final : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
