#pragma once

#include "gui/qt/WizardPage.h"

class QLineEdit;

namespace tessaly {

// Page 8: copies the real-time INF to a real-time target over FTP. Its entries stay in the
// fields for the life of the wizard, so Back and Next keep them.
class CPageUseFTP final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageUseFTP(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    bool OnWizardFinish() override;
    // Nothing may close the wizard while a transfer runs on its values.
    bool OnQueryCancel() override { return !transferring_; }

protected:
    void CreateControls() override;

private:
    void UpdateButtons();

    QLineEdit* hostNameEdit_ = nullptr;    // 1050
    QLineEdit* userNameEdit_ = nullptr;    // 1097
    QLineEdit* passwordEdit_ = nullptr;    // 1098
    QLineEdit* localFileEdit_ = nullptr;   // 1099
    QLineEdit* remoteFileEdit_ = nullptr;  // 1100
    bool transferring_ = false;
};

}  // namespace tessaly
