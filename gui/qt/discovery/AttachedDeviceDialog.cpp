#include "gui/qt/discovery/AttachedDeviceDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CAttachedDeviceDialog::CAttachedDeviceDialog(AttachedDevicePresenter& presenter, QWidget* parent)
    : QDialog(parent), view_(presenter, this) {
    setObjectName(QStringLiteral("attachedDeviceDialog"));
    const std::string& title = presenter.title();
    setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    filterEdit_ = new QLineEdit(this);
    filterEdit_->setPlaceholderText(tr("Part of an address, ID or name"));
    filterEdit_->installEventFilter(this);
    auto* list = new RowList(this);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list_ = list;
    auto* emptyText = new QLabel(this);
    emptyText->setAlignment(Qt::AlignCenter);
    emptyText->setWordWrap(true);
    emptyText->setTextFormat(Qt::PlainText);
    emptyText->setFrameShape(QFrame::StyledPanel);
    auto* showAll = new QCheckBox(tr("Show &all devices"), this);
    showAll->setToolTip(tr("Also list root hubs and host bridges"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(tr("OK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(tr("Cancel"));
    cancel->setAutoDefault(false);

    const std::pair<ControlId, QWidget*> controls[] = {
        {kFilterEdit, filterEdit_}, {kDeviceList, list}, {kEmptyText, emptyText},
        {kShowAllCheck, showAll},   {kOkButton, ok},     {kCancelButton, cancel},
    };
    for (const auto& [control, widget] : controls) {
        view_.Bind(control, widget);
    }

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(
        MakeBuddyLabel(tr("&Filter:"), filterEdit_, this, QStringLiteral("filterLabel")));
    filterRow->addWidget(filterEdit_, 1);
    auto* listArea = new QVBoxLayout;
    listArea->addWidget(list, 1);
    listArea->addWidget(emptyText, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(MakeBuddyLabel(tr("&Devices attached to this computer:"), list, this,
                                     QStringLiteral("deviceListLabel")));
    layout->addLayout(listArea, 1);
    layout->addWidget(showAll);
    layout->addWidget(buttons);
    InstallContextHelp(this, QStringLiteral("devices.html"));
    // As wide as the wizard's pages, or the screen when that is narrower: the columns start
    // capped and scroll, so the longest name does not decide the size.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int wide = DialogUnitsX(this, 325);
    resize(screen ? std::min(wide, screen->availableGeometry().width()) : wide,
           DialogUnitsY(this, 200));
    presenter.Attach(view_);
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
