#pragma once

#include "gui/qt/WizardPage.h"

class QHBoxLayout;

namespace tessaly {

class RowList;

// What the two interrupt pages share: the step list and the row of step buttons, for the page
// to place.
class CStepListPage : public CWizardPage {
    Q_OBJECT
public:
    using CWizardPage::CWizardPage;

protected:
    void CreateStepControls();
    RowList* stepList() const { return stepList_; }
    QHBoxLayout* stepButtons() const { return stepButtons_; }

private:
    RowList* stepList_ = nullptr;
    QHBoxLayout* stepButtons_ = nullptr;
};

}  // namespace tessaly
