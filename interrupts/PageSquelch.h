#pragma once

#include "app/WizardPage.h"

class QPlainTextEdit;

namespace tessaly {

// Page 5: the interrupt removal steps. For now it shows RemovalSteps; editing them comes with
// the step editor.
class CPageSquelch final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageSquelch(CGatherIntrInfo& sheet);

    void OnSetActive() override;

protected:
    void CreateControls() override;

private:
    QPlainTextEdit* steps_ = nullptr;
};

}  // namespace tessaly
