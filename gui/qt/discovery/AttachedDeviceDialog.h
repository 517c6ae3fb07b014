#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

#include "discovery/DeviceTable.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeView;

namespace tessaly {

class DeviceFilterModel;

// Lists the devices attached to one bus to pick one. Typing in the filter field keeps the rows
// holding every typed word in some column and selects the first; Up and Down move through them
// from the field; Enter or a double click chooses, Escape cancels. Rows hidden by default (host
// bridges, root hubs) appear with "Show all devices".
class CAttachedDeviceDialog final : public QDialog {
    Q_OBJECT
public:
    CAttachedDeviceDialog(const DeviceTable& table, QWidget* parent);

    // The selected row's position in the table; nullopt when none is selected.
    std::optional<std::size_t> ChosenRow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refilter();

    DeviceTable table_;
    DeviceFilterModel* filter_ = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    QStackedWidget* listArea_ = nullptr;
    QTreeView* list_ = nullptr;
    QLabel* emptyText_ = nullptr;
    QCheckBox* showAllCheck_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace tessaly
