#pragma once

#include "app/WizardPage.h"

class QPlainTextEdit;

namespace tessaly {

// Page 4: the interrupt detection sequences. For now it lists the sequences and applies the
// page's button rule; the sequence and step editing comes with the step editor.
class CPageIsMine final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageIsMine(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardBack() override;

protected:
    void CreateControls() override;

private:
    QPlainTextEdit* sequences_ = nullptr;
};

}  // namespace tessaly
