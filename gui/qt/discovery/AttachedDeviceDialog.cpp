#include "gui/qt/discovery/AttachedDeviceDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

namespace {

constexpr int kRowRole = Qt::UserRole;         // position in the table
constexpr int kHiddenRole = Qt::UserRole + 1;  // hidden unless all devices are shown

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// Keeps the rows that hold every word of the filter text in some column, and the rows hidden
// by default only while all devices are shown.
class DeviceFilterModel final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetFilter(const QString& text, bool showAll) {
        words_ = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        showAll_ = showAll;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const QAbstractItemModel* source = sourceModel();
        if (!showAll_ && source->index(row, 0, parent).data(kHiddenRole).toBool()) {
            return false;
        }
        for (const QString& word : words_) {
            bool found = false;
            for (int column = 0; column < source->columnCount(parent) && !found; ++column) {
                found = source->index(row, column, parent)
                            .data()
                            .toString()
                            .contains(word, Qt::CaseInsensitive);
            }
            if (!found) {
                return false;
            }
        }
        return true;
    }

private:
    QStringList words_;
    bool showAll_ = false;
};

CAttachedDeviceDialog::CAttachedDeviceDialog(const DeviceTable& table, QWidget* parent)
    : QDialog(parent), table_(table) {
    setObjectName(QStringLiteral("attachedDeviceDialog"));
    setWindowTitle(FromUtf8(table.title));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* devices = new QStandardItemModel(0, static_cast<int>(table.columns.size()), this);
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        devices->setHeaderData(static_cast<int>(c), Qt::Horizontal, FromUtf8(table.columns[c]));
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        QList<QStandardItem*> items;
        for (const std::string& cell : table.rows[r].cells) {
            items.append(new QStandardItem(FromUtf8(cell)));
        }
        if (items.isEmpty()) {
            items.append(new QStandardItem);
        }
        items.front()->setData(static_cast<qulonglong>(r), kRowRole);
        items.front()->setData(table.rows[r].hiddenByDefault, kHiddenRole);
        devices->appendRow(items);
    }
    filter_ = new DeviceFilterModel(this);
    filter_->setSourceModel(devices);

    filterEdit_ = new QLineEdit(this);
    filterEdit_->setObjectName(QStringLiteral("filterEdit"));
    filterEdit_->setPlaceholderText(tr("Part of an address, ID or name"));
    filterEdit_->installEventFilter(this);

    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("deviceList"));
    list_->setModel(filter_);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < devices->columnCount(); ++c) {
        list_->resizeColumnToContents(c);
    }
    emptyText_ = new QLabel(this);
    emptyText_->setObjectName(QStringLiteral("emptyText"));
    emptyText_->setAlignment(Qt::AlignCenter);
    emptyText_->setWordWrap(true);
    emptyText_->setTextFormat(Qt::PlainText);
    emptyText_->setFrameShape(QFrame::StyledPanel);
    listArea_ = new QStackedWidget(this);
    listArea_->setObjectName(QStringLiteral("deviceArea"));
    listArea_->addWidget(list_);
    listArea_->addWidget(emptyText_);

    showAllCheck_ = new QCheckBox(tr("Show &all devices"), this);
    showAllCheck_->setObjectName(QStringLiteral("showAllCheck"));
    showAllCheck_->setToolTip(tr("Also list root hubs and host bridges"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setText(tr("OK"));
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(tr("Cancel"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(
        MakeBuddyLabel(tr("&Filter:"), filterEdit_, this, QStringLiteral("filterLabel")));
    filterRow->addWidget(filterEdit_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(MakeBuddyLabel(tr("&Devices attached to this computer:"), list_, this,
                                     QStringLiteral("deviceListLabel")));
    layout->addWidget(listArea_, 1);
    layout->addWidget(showAllCheck_);
    layout->addWidget(buttons);
    InstallContextHelp(this, QStringLiteral("devices.html"));
    // Wide enough for every column when the screen allows.
    const int columns = list_->header()->length() + 2 * list_->frameWidth() +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        layout->contentsMargins().left() + layout->contentsMargins().right();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int widest = screen ? screen->availableGeometry().width() * 9 / 10 : columns;
    resize(std::max(DialogUnitsX(this, 320), std::min(columns, widest)), DialogUnitsY(this, 200));

    connect(filterEdit_, &QLineEdit::textChanged, this, [this] { Refilter(); });
    connect(showAllCheck_, &QCheckBox::toggled, this, [this] { Refilter(); });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { okButton_->setEnabled(ChosenRow().has_value()); });
    connect(list_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (ChosenRow()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    Refilter();
    filterEdit_->setFocus();
}

std::optional<std::size_t> CAttachedDeviceDialog::ChosenRow() const {
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(selected.front().data(kRowRole).toULongLong());
}

void CAttachedDeviceDialog::Refilter() {
    filter_->SetFilter(filterEdit_->text(), showAllCheck_->isChecked());
    if (filter_->rowCount() > 0) {
        list_->setCurrentIndex(filter_->index(0, 0));
        listArea_->setCurrentWidget(list_);
    } else {
        list_->clearSelection();
        QString say = FromUtf8(table_.emptyText);
        if (!filterEdit_->text().trimmed().isEmpty()) {
            say = tr("No device matches the filter.");
        } else if (!table_.rows.empty()) {
            say += QStringLiteral("\n\n") +
                   tr("Root hubs and host bridges are listed with \"Show all devices\".");
        }
        emptyText_->setText(say);
        listArea_->setCurrentWidget(emptyText_);
    }
    okButton_->setEnabled(ChosenRow().has_value());
}

bool CAttachedDeviceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filterEdit_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QCoreApplication::sendEvent(list_, event);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessaly
