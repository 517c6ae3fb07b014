#pragma once

#include "gui/qt/interrupts/StepListPage.h"

namespace tessaly {

// Page 4: the interrupt detection sequences.
class CPageIsMine final : public CStepListPage {
    Q_OBJECT
public:
    using CStepListPage::CStepListPage;

protected:
    void CreateControls() override;
};

}  // namespace tessaly
