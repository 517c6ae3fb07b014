#pragma once

#include "gui/qt/interrupts/StepListPage.h"

namespace tessaly {

// Page 5: the interrupt removal steps. The step list is a working copy that Next commits to
// RemovalSteps; a committed or loaded RemovalSteps replaces the rows at the next activation.
class CPageSquelch final : public CStepListPage {
    Q_OBJECT
public:
    explicit CPageSquelch(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
