#pragma once

#include "app/WizardPage.h"

class QLineEdit;

namespace tessaly {

// Page 8: the FTP copy of the real-time INF. For now it takes the host name and applies the
// page's button rule; the transfer itself comes with the FTP client.
class CPageUseFTP final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageUseFTP(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    bool OnWizardFinish() override;

protected:
    void CreateControls() override;

private:
    void UpdateButtons();

    QLineEdit* hostNameEdit_ = nullptr;  // 1050
};

}  // namespace tessaly
