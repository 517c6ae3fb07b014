#pragma once

#include "gui/qt/interrupts/StepListPage.h"

namespace tessaly {

// Page 5: the interrupt removal steps.
class CPageSquelch final : public CStepListPage {
    Q_OBJECT
public:
    using CStepListPage::CStepListPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
