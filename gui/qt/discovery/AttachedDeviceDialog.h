#pragma once

#include <QDialog>

#include "gui/qt/QtControlView.h"
#include "wizard/discovery/AttachedDevicePresenter.h"

class QLineEdit;
class QTreeWidget;

namespace tessaly {

// Lists the devices attached to one bus to pick one; its presenter filters and chooses. Up and
// Down move through the list from the filter field; Escape cancels.
class CAttachedDeviceDialog final : public QDialog {
    Q_OBJECT
public:
    CAttachedDeviceDialog(AttachedDevicePresenter& presenter, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QtControlView view_;
    QLineEdit* filterEdit_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

}  // namespace tessaly
