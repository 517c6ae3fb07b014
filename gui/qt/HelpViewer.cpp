#include "gui/qt/HelpViewer.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

namespace {

constexpr int kUrlRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;  // lower-case plain text, for the search

QString SearchText(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified().toLower();
}

bool HoldsEveryWord(const QString& text, const QStringList& words) {
    for (const QString& word : words) {
        if (!text.contains(word)) {
            return false;
        }
    }
    return true;
}

// The page and its fragment, without the scheme's spelling differences.
QString TopicKey(const QUrl& url) {
    return url.path() + QLatin1Char('#') + url.fragment();
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(tr("Tessaly Wizard Help"));

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("helpSearchEdit"));
    search_->setClearButtonEnabled(true);
    search_->setPlaceholderText(tr("Words to find"));
    searchStatus_ = new QLabel(tr("No topic holds every word."), this);
    searchStatus_->setObjectName(QStringLiteral("helpSearchStatus"));
    searchStatus_->hide();
    contents_ = new QTreeWidget(this);
    contents_->setObjectName(QStringLiteral("helpContents"));
    contents_->setHeaderHidden(true);
    contents_->setColumnCount(1);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenLinks(true);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(
        MakeBuddyLabel(tr("&Search:"), search_, side, QStringLiteral("helpSearchLabel")));
    sideLayout->addWidget(search_);
    sideLayout->addWidget(searchStatus_);
    sideLayout->addWidget(
        MakeBuddyLabel(tr("C&ontents:"), contents_, side, QStringLiteral("helpContentsLabel")));
    sideLayout->addWidget(contents_, 1);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("helpCloseButton"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);

    BuildContents();
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) {
            browser_->setSource(item->data(0, kUrlRole).toUrl());
        }
    });
    connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        browser_->setSource(item->data(0, kUrlRole).toUrl());
        browser_->setFocus(Qt::OtherFocusReason);
    });
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& source) { SelectContentsItem(source); });
    connect(search_, &QLineEdit::textChanged, this, &HelpViewer::Search);
    connect(search_, &QLineEdit::returnPressed, this, &HelpViewer::ShowFirstMatch);
    search_->installEventFilter(this);

    splitter->setSizes({DialogUnitsX(this, 140), DialogUnitsX(this, 280)});
    resize(DialogUnitsX(this, 440), DialogUnitsY(this, 250));
    InstallContextHelp(this, QStringLiteral("help.html"));
}

void HelpViewer::BuildContents() {
    for (const QString& page : HelpPages()) {
        auto* top = new QTreeWidgetItem(contents_, {HelpPageTitle(page)});
        top->setData(0, kUrlRole, HelpTopicUrl(page));
        top->setData(0, kTextRole, SearchText(HelpPageHtml(page)));
        for (const HelpSection& section : HelpSections(page)) {
            if (section.anchors.isEmpty()) {
                continue;
            }
            auto* item = new QTreeWidgetItem(top, {section.heading});
            item->setData(0, kUrlRole, HelpTopicUrl(page, section.anchors.front()));
            item->setData(0, kTextRole,
                          SearchText(section.heading + QLatin1Char(' ') + section.html));
        }
    }
}

void HelpViewer::ShowTopic(const QUrl& topic) {
    browser_->setSource(topic);
    SelectContentsItem(topic);
    show();
    raise();
    activateWindow();
}

QUrl HelpViewer::topic() const {
    return browser_->source();
}

void HelpViewer::SelectContentsItem(const QUrl& topic) {
    QTreeWidgetItem* page = nullptr;
    QTreeWidgetItem* chosen = nullptr;
    for (int i = 0; i < contents_->topLevelItemCount() && !chosen; ++i) {
        QTreeWidgetItem* top = contents_->topLevelItem(i);
        if (top->data(0, kUrlRole).toUrl().path() != topic.path()) {
            continue;
        }
        page = top;
        for (int j = 0; j < top->childCount(); ++j) {
            if (TopicKey(top->child(j)->data(0, kUrlRole).toUrl()) == TopicKey(topic)) {
                chosen = top->child(j);
            }
        }
    }
    chosen = chosen ? chosen : page;
    if (chosen && chosen != contents_->currentItem()) {
        // Marking the topic shown must not show it again (and lose its fragment).
        const QSignalBlocker quiet(contents_);
        contents_->setCurrentItem(chosen);
        contents_->scrollToItem(chosen);
    }
}

void HelpViewer::Search(const QString& text) {
    const QStringList words = text.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    bool any = false;
    for (int i = 0; i < contents_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = contents_->topLevelItem(i);
        bool childShown = false;
        for (int j = 0; j < top->childCount(); ++j) {
            QTreeWidgetItem* child = top->child(j);
            const bool shown = HoldsEveryWord(child->data(0, kTextRole).toString(), words);
            child->setHidden(!shown);
            childShown = childShown || shown;
        }
        const bool shown = childShown || HoldsEveryWord(top->data(0, kTextRole).toString(), words);
        top->setHidden(!shown);
        top->setExpanded(!words.isEmpty() && childShown);
        any = any || shown;
    }
    searchStatus_->setVisible(!any);
}

void HelpViewer::ShowFirstMatch() {
    const QString text = search_->text().simplified();
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < contents_->topLevelItemCount() && !first; ++i) {
        QTreeWidgetItem* top = contents_->topLevelItem(i);
        if (top->isHidden()) {
            continue;
        }
        first = top;
        // A section that holds the words says more than its page.
        for (int j = 0; j < top->childCount(); ++j) {
            if (!top->child(j)->isHidden() && !text.isEmpty()) {
                first = top->child(j);
                break;
            }
        }
    }
    if (!first) {
        return;
    }
    contents_->setCurrentItem(first);
    browser_->setSource(first->data(0, kUrlRole).toUrl());
    const QString word = text.section(QLatin1Char(' '), 0, 0);
    if (!word.isEmpty()) {
        browser_->find(word);
    }
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == search_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        contents_->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessaly
