#pragma once

#include <QDialog>

#include "gui/qt/QtControlView.h"
#include "wizard/interrupts/StepEditorPresenter.h"

namespace tessaly {

// Dialog 106: one register access step, as its presenter decides it.
class CStepEditorDialog final : public QDialog {
    Q_OBJECT
public:
    CStepEditorDialog(StepEditorPresenter& presenter, QWidget* parent = nullptr);

private:
    QtControlView view_;
};

}  // namespace tessaly
