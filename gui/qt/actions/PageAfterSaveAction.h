#pragma once

#include <array>

#include "gui/qt/WizardPage.h"

class QRadioButton;

namespace tessaly {

// Page 7: what to do with the generated files.
class CPageAfterSaveAction final : public CWizardPage {
    Q_OBJECT
public:
    explicit CPageAfterSaveAction(CGatherIntrInfo& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;
    bool OnWizardFinish() override;

    int AfterSaveAction() const { return afterSaveAction_; }

protected:
    void CreateControls() override;
    void DoDataExchange(bool save) override;

private:
    void UpdateButtons();
    int CheckedChoice() const;

    int afterSaveAction_ = kAfterSaveInstall;
    std::array<QRadioButton*, 4> choices_{};  // 1092 to 1095
};

}  // namespace tessaly
