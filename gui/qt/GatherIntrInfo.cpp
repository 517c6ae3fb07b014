#include "gui/qt/GatherIntrInfo.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"
#include "gui/qt/WizardPage.h"
#include "gui/qt/actions/PageAfterSaveAction.h"
#include "gui/qt/actions/PageUseFtp.h"
#include "gui/qt/device/PageWelcome.h"
#include "gui/qt/device/PageWelcomePxi.h"
#include "gui/qt/device/PageWelcomeUsb.h"
#include "gui/qt/interrupts/PageIsMine.h"
#include "gui/qt/interrupts/PageSquelch.h"
#include "gui/qt/output/PageFinal.h"
#include "resources/StringTable.h"

namespace tessaly {

namespace {

QIcon WizardIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/wizard-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace

CGatherIntrInfo::CGatherIntrInfo(WizardModel& model, const WizardServices& services,
                                 PageId startPage, QWidget* parent)
    : QDialog(parent), presenter_(std::make_unique<SheetPresenter>(model, services, startPage)) {
    setObjectName(QStringLiteral("wizardSheet"));
    // No system menu and no close box: the wizard ends through its own buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(FromBytes(std::string(strings::kAppTitle)));
    setWindowIcon(WizardIcon());  // icon resource 113
    presenter_->Attach(*this);

    stack_ = new QStackedWidget(this);
    stack_->setObjectName(QStringLiteral("pageStack"));
    SheetPresenter& p = *presenter_;
    pages_ = {new CPageWelcome(p.Page(kPageWelcome)),
              new CPageWelcomePxi(p.Page(kPageWelcomePxi)),
              new CPageWelcomeUsb(p.Page(kPageWelcomeUsb)),
              new CPageIsMine(p.Page(kPageIsMine)),
              new CPageSquelch(p.Page(kPageSquelch)),
              new CPageFinal(p.Page(kPageFinal)),
              new CPageAfterSaveAction(p.Page(kPageAfterSaveAction)),
              new CPageUseFTP(p.Page(kPageUseFtp))};
    for (CWizardPage* page : pages_) {
        stack_->addWidget(page);
    }
    // The page area of the dialog templates: 325 by 225 dialog units.
    stack_->setMinimumSize(DialogUnitsX(this, 325), DialogUnitsY(this, 225));

    // Created in tab order; each page's controls join the chain when the page is first shown.
    backButton_ = MakeButton(tr("< &Back"), QStringLiteral("backButton"), this);
    nextButton_ = MakeButton(tr("&Next >"), QStringLiteral("nextButton"), this);
    finishButton_ = MakeButton(tr("Finish"), QStringLiteral("finishButton"), this);
    cancelButton_ = MakeButton(tr("Cancel"), QStringLiteral("cancelButton"), this);
    // No mnemonic: F1 is the help key, and Alt+H belongs to the FTP page's host name.
    helpButton_ = MakeButton(tr("Help"), QStringLiteral("helpButton"), this);
    finishButton_->hide();

    connect(helpButton_, &QPushButton::clicked, this, &CGatherIntrInfo::ShowHelp);
    connect(backButton_, &QPushButton::clicked, this, &CGatherIntrInfo::Back);
    connect(nextButton_, &QPushButton::clicked, this, &CGatherIntrInfo::Next);
    connect(finishButton_, &QPushButton::clicked, this, &CGatherIntrInfo::Finish);
    connect(cancelButton_, &QPushButton::clicked, this, &CGatherIntrInfo::reject);
    auto* helpKey = new QShortcut(QKeySequence::HelpContents, this);
    connect(helpKey, &QShortcut::activated, this, &CGatherIntrInfo::ShowHelp);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(backButton_);
    buttons->addWidget(nextButton_);
    buttons->addWidget(finishButton_);
    buttons->addSpacing(DialogUnitsX(this, 6));
    buttons->addWidget(cancelButton_);
    buttons->addWidget(helpButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stack_, 1);
    layout->addWidget(MakeSeparator(this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // The sheet's own buttons; each page installs the help of its controls when it is built. F1
    // is the sheet's: on its buttons it shows the page's topic, not the button's.
    InstallContextHelp(this, QStringLiteral("index.html"), false);
    Activate(startPage);
}

// The pages go while their presenters are still there: a field that loses the focus as the
// window closes still asks its presenter.
CGatherIntrInfo::~CGatherIntrInfo() {
    hide();
    delete stack_;
}

PageId CGatherIntrInfo::ActivePageId() const {
    return pages_[current_]->id();
}

CWizardPage* CGatherIntrInfo::ActivePage() const {
    return pages_[current_];
}

void CGatherIntrInfo::Activate(PageId id) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i]->id() == id) {
            current_ = i;
        }
    }
    CWizardPage* page = pages_[current_];
    page->EnsureCreated();
    stack_->setCurrentWidget(page);
    presenter_->Activated(page->id());
}

std::optional<ControlId> CGatherIntrInfo::FocusedControl() const {
    const QWidget* focused = QApplication::focusWidget();
    CWizardPage* page = ActivePage();
    return focused && page->isAncestorOf(focused) ? page->view().IdOf(focused) : std::nullopt;
}

void CGatherIntrInfo::FocusForwardButton() {
    (FinishShown() ? finishButton_ : nextButton_)->setFocus(Qt::TabFocusReason);
}

void CGatherIntrInfo::FocusFirstControl() {
    CWizardPage* page = ActivePage();
    for (QWidget* widget = nextInFocusChain(); widget != this;
         widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) &&
            widget->isEnabled() && widget->isVisibleTo(page)) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    backButton_->setFocus(Qt::TabFocusReason);
}

void CGatherIntrInfo::SetButtons(unsigned flags) {
    buttons_ = flags;
    const bool finish = FinishShown();
    backButton_->setEnabled((flags & kButtonBack) != 0);
    nextButton_->setVisible(!finish);
    finishButton_->setVisible(finish);
    nextButton_->setEnabled(!finish && (flags & kButtonNext) != 0);
    finishButton_->setEnabled((flags & kButtonFinish) != 0);
    // Enter presses the enabled Next or Finish.
    QPushButton* forward = finish ? finishButton_ : nextButton_;
    nextButton_->setDefault(false);
    finishButton_->setDefault(false);
    forward->setDefault(forward->isEnabled());
}

bool CGatherIntrInfo::FinishShown() const {
    return (buttons_ & (kButtonFinish | kButtonDisabledFinish)) != 0;
}

void CGatherIntrInfo::SetTitle(const std::string& title) {
    setWindowTitle(FromBytes(title));
}

void CGatherIntrInfo::Next() {
    if (const auto target = presenter_->Next(FocusedControl())) {
        Activate(*target);
    }
}

void CGatherIntrInfo::Back() {
    if (const auto target = presenter_->Back(FocusedControl())) {
        Activate(*target);
    }
}

void CGatherIntrInfo::Finish() {
    if (presenter_->Finish(FocusedControl())) {
        accept();
    }
}

void CGatherIntrInfo::reject() {
    if (presenter_->Cancel()) {
        QDialog::reject();
    }
}

bool CGatherIntrInfo::event(QEvent* event) {
    // Outside a page (a page claims its own mnemonics first) the sheet's buttons win.
    if (ClaimMnemonic(this, event, true)) {
        return true;
    }
    return QDialog::event(event);
}

void CGatherIntrInfo::ShowHelp() {
    ShowHelpTopic(this, ActivePage()->HelpUrl(QApplication::focusWidget()));
}

}  // namespace tessaly
