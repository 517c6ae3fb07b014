#include "gui/qt/interrupts/StepListPage.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "gui/qt/QtControlView.h"

namespace tessaly {

void CStepListPage::CreateStepControls() {
    stepList_ = new RowList(this);
    stepList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Bind(kStepList, stepList_);
    stepButtons_ = new QHBoxLayout;
    const std::pair<ControlId, QString> buttons[] = {
        {kAddBeforeButton, tr("Add a step &before")},
        {kAddAfterButton, tr("Add a step &after")},
        {kEditStepButton, tr("&Edit a step")},
        {kRemoveStepButton, tr("&Remove a step")},
    };
    for (const auto& [control, text] : buttons) {
        auto* button = new QPushButton(text, this);
        Bind(control, button);
        stepButtons_->addWidget(button);
    }
}

}  // namespace tessaly
