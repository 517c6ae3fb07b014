#include "gui/qt/WizardPage.h"

#include <QFocusEvent>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CWizardPage::CWizardPage(CGatherIntrInfo& sheet, PageId id, const QString& title)
    : sheet_(sheet), id_(id), title_(title) {
    setObjectName(QStringLiteral("page%1").arg(static_cast<int>(id)));
}

void CWizardPage::EnsureCreated() {
    if (created_) {
        return;
    }
    created_ = true;
    CreateControls();
    InstallContextHelp(this, HelpPage());
    OnInitDialog();
}

void CWizardPage::OnSetActive() {
    sheet_.SetWizardButtons(kButtonBack | kButtonNext);
}

void CWizardPage::CommitEditing() {
    QWidget* focused = focusWidget();
    if (focused && isAncestorOf(focused)) {
        OnFocusLost(focused);
    }
}

QString CWizardPage::HelpPage() const {
    return QStringLiteral("page%1.html").arg(static_cast<int>(id_));
}

QUrl CWizardPage::HelpUrl(const QWidget* focused) const {
    if (focused && isAncestorOf(focused)) {
        return ContextHelpTopic(focused);
    }
    return HelpTopicUrl(HelpPage());
}

WizardModel& CWizardPage::model() const {
    return sheet_.model();
}

void CWizardPage::WatchFocusLoss(QWidget* field) {
    field->installEventFilter(this);
}

bool CWizardPage::event(QEvent* event) {
    // While the focus is in the page its buttons' mnemonics win over the sheet's ("Add a step
    // &before" over "< &Back").
    if (ClaimMnemonic(this, event, false)) {
        return true;
    }
    return QWidget::event(event);
}

bool CWizardPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // A menu or another window taking the focus does not mean the user left the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            OnFocusLost(static_cast<QWidget*>(watched));
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessaly
