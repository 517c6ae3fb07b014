#pragma once

#include <QDialog>

#include "gui/qt/QtControlView.h"
#include "wizard/modulefile/FunctionSelectPresenter.h"

namespace tessaly {

// Dialog 129: lets the user pick one function of a combination module.
class CFunctionSelectDialog final : public QDialog {
    Q_OBJECT
public:
    CFunctionSelectDialog(FunctionSelectPresenter& presenter, QWidget* parent);

private:
    QtControlView view_;
};

}  // namespace tessaly
