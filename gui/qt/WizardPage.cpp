#include "gui/qt/WizardPage.h"

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CWizardPage::CWizardPage(PagePresenter& presenter) : presenter_(presenter), view_(presenter, this) {
    setObjectName(QStringLiteral("page%1").arg(static_cast<int>(presenter.id())));
}

void CWizardPage::EnsureCreated() {
    if (created_) {
        return;
    }
    created_ = true;
    CreateControls();
    InstallContextHelp(this, HelpPage());
    presenter_.Attach(view_);
}

QString CWizardPage::HelpPage() const {
    const std::string_view page = HelpPageOf(id());
    return QString::fromLatin1(page.data(), static_cast<qsizetype>(page.size()));
}

QUrl CWizardPage::HelpUrl(const QWidget* focused) const {
    if (focused && isAncestorOf(focused)) {
        return ContextHelpTopic(focused);
    }
    return HelpTopicUrl(HelpPage());
}

bool CWizardPage::event(QEvent* event) {
    // While the focus is in the page its buttons' mnemonics win over the sheet's ("Add a step
    // &before" over "< &Back").
    if (ClaimMnemonic(this, event, false)) {
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tessaly
