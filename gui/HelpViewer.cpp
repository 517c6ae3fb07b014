#include "gui/HelpViewer.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "gui/WidgetSupport.h"

namespace tessaly {

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(tr("Tessaly Wizard Help"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("helpCloseButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(DialogUnitsX(this, 260), DialogUnitsY(this, 200));
}

void HelpViewer::ShowTopic(const QUrl& topic) {
    browser_->setSource(topic);
    show();
    raise();
    activateWindow();
}

QUrl HelpViewer::topic() const {
    return browser_->source();
}

}  // namespace tessaly
