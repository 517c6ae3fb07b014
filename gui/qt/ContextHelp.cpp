#include "gui/qt/ContextHelp.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QWhatsThis>
#include <map>

#include "gui/qt/HelpViewer.h"

namespace tessaly {

namespace {

const char* const kPageProperty = "tessalyHelpPage";
const char* const kKeysProperty = "tessalyHelpKeys";

struct ParsedPage {
    QString html;
    QString title;
    std::vector<HelpSection> sections;
};

QString PlainText(const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

ParsedPage Parse(const QString& page) {
    ParsedPage parsed;
    QFile file(QStringLiteral(":/help/") + page);
    if (!file.open(QIODevice::ReadOnly)) {
        return parsed;
    }
    parsed.html = QString::fromUtf8(file.readAll());
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    parsed.title = PlainText(title.match(parsed.html).captured(1));
    static const QRegularExpression heading(QStringLiteral("<h3>(.*?)</h3>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression anchor(QStringLiteral("name=\"([^\"]+)\""));
    // A section ends where the next heading, rule or the body's end begins.
    static const QRegularExpression end(QStringLiteral("<h[1-3][ >]|<hr|</body>"));
    for (auto match = heading.globalMatch(parsed.html); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        HelpSection section;
        for (auto names = anchor.globalMatch(found.captured(1)); names.hasNext();) {
            section.anchors.append(names.next().captured(1));
        }
        section.heading = PlainText(found.captured(1));
        const qsizetype start = found.capturedEnd();
        qsizetype stop = parsed.html.indexOf(end, start);
        if (stop < 0) {
            stop = parsed.html.size();
        }
        section.html = parsed.html.mid(start, stop - start).trimmed();
        parsed.sections.push_back(section);
    }
    return parsed;
}

// Pages are read once; help lives on the GUI thread only.
const ParsedPage& Parsed(const QString& page) {
    static std::map<QString, ParsedPage> pages;
    auto found = pages.find(page);
    if (found == pages.end()) {
        found = pages.emplace(page, Parse(page)).first;
    }
    return found->second;
}

const HelpSection* FindSection(const QString& page, const QString& anchor) {
    if (anchor.isEmpty()) {
        return nullptr;
    }
    for (const HelpSection& section : HelpSections(page)) {
        if (section.anchors.contains(anchor)) {
            return &section;
        }
    }
    return nullptr;
}

// The widget whose InstallContextHelp covers `widget`: the nearest of it and its parents that
// was given a page.
QWidget* ScopeOf(const QWidget* widget) {
    for (QWidget* w = const_cast<QWidget*>(widget); w; w = w->parentWidget()) {
        if (!w->property(kPageProperty).toString().isEmpty()) {
            return w;
        }
    }
    return nullptr;
}

// The name of the section describing `control` in `page`: its own, or a label's buddy's.
QString HelpAnchorOf(const QWidget* control, const QString& page) {
    if (FindSection(page, control->objectName())) {
        return control->objectName();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control); label && label->buddy()) {
        if (FindSection(page, label->buddy()->objectName())) {
            return label->buddy()->objectName();
        }
    }
    return {};
}

// The control that owns `watched`: a scroll area for its viewport, else the widget itself.
QWidget* ControlOf(QObject* watched) {
    auto* widget = static_cast<QWidget*>(watched);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget->parentWidget());
        area && area->viewport() == widget) {
        return area;
    }
    return widget;
}

// The control's own menu, when it has one, to which "What's This?" is added.
QMenu* StandardMenu(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->createStandardContextMenu();
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
        return text->createStandardContextMenu();
    }
    if (auto* text = qobject_cast<QTextEdit*>(control)) {
        return text->createStandardContextMenu();
    }
    return nullptr;
}

void ShowWhatsThis(QWidget* control, const QPoint& globalPos) {
    QWhatsThis::showText(globalPos, control->whatsThis(), control);
}

// Adds "What's This?" to the context menu of the controls it watches.
class ContextMenuFilter final : public QObject {
public:
    explicit ContextMenuFilter(QObject* parent) : QObject(parent) {
        setObjectName(QStringLiteral("contextHelpFilter"));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu || !watched->isWidgetType()) {
            return false;
        }
        QWidget* control = ControlOf(watched);
        if (control->whatsThis().isEmpty()) {
            return false;
        }
        const QPoint globalPos = static_cast<QContextMenuEvent*>(event)->globalPos();
        QMenu* menu = StandardMenu(control);
        if (menu) {
            menu->addSeparator();
        } else {
            menu = new QMenu(control);
        }
        menu->setObjectName(QStringLiteral("contextHelpMenu"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction* whatsThis = menu->addAction(QMenu::tr("&What's This?"));
        whatsThis->setObjectName(QStringLiteral("whatsThisAction"));
        connect(whatsThis, &QAction::triggered, control,
                [control, globalPos] { ShowWhatsThis(control, globalPos); });
        menu->popup(globalPos);
        event->accept();
        return true;
    }
};

void InstallHelpKeys(QWidget* window, bool helpKey) {
    if (window->property(kKeysProperty).toBool()) {
        return;
    }
    window->setProperty(kKeysProperty, true);
    const auto focusedIn = [window]() -> QWidget* {
        QWidget* focused = QApplication::focusWidget();
        return focused && window->isAncestorOf(focused) ? focused : window;
    };
    auto* whatsThis = new QShortcut(QKeySequence::WhatsThis, window);
    QObject::connect(whatsThis, &QShortcut::activated, window, [focusedIn] {
        for (QWidget* w = focusedIn(); w; w = w->isWindow() ? nullptr : w->parentWidget()) {
            if (!w->whatsThis().isEmpty()) {
                ShowWhatsThis(w, w->mapToGlobal(w->rect().center()));
                return;
            }
        }
    });
    if (helpKey) {
        auto* topic = new QShortcut(QKeySequence::HelpContents, window);
        QObject::connect(topic, &QShortcut::activated, window, [window, focusedIn] {
            ShowHelpTopic(window, ContextHelpTopic(focusedIn()));
        });
    }
}

}  // namespace

const QStringList& HelpPages() {
    static const QStringList pages = {
        QStringLiteral("index.html"),     QStringLiteral("page102.html"),
        QStringLiteral("page110.html"),   QStringLiteral("page109.html"),
        QStringLiteral("devices.html"),   QStringLiteral("page103.html"),
        QStringLiteral("page104.html"),   QStringLiteral("dialog106.html"),
        QStringLiteral("page105.html"),   QStringLiteral("folderbrowser.html"),
        QStringLiteral("page111.html"),   QStringLiteral("page108.html"),
        QStringLiteral("dialog129.html"), QStringLiteral("files.html"),
        QStringLiteral("steps.html"),     QStringLiteral("commandline.html"),
        QStringLiteral("linux.html"),     QStringLiteral("help.html"),
    };
    return pages;
}

QUrl HelpTopicUrl(const QString& page, const QString& anchor) {
    QUrl url(QStringLiteral("qrc:/help/") + page);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    return url;
}

const QString& HelpPageHtml(const QString& page) {
    return Parsed(page).html;
}

QString HelpPageTitle(const QString& page) {
    return Parsed(page).title;
}

const std::vector<HelpSection>& HelpSections(const QString& page) {
    return Parsed(page).sections;
}

QString HelpSectionText(const QString& page, const QString& anchor) {
    const HelpSection* section = FindSection(page, anchor);
    if (!section) {
        return {};
    }
    return QStringLiteral("<p><b>") + section->heading.toHtmlEscaped() +
           QStringLiteral("</b></p>") + section->html;
}

void InstallContextHelp(QWidget* scope, const QString& page, bool helpKey) {
    scope->setProperty(kPageProperty, page);
    // Found by name: the class has no meta-object of its own to find it by.
    auto* filter = dynamic_cast<ContextMenuFilter*>(scope->findChild<QObject*>(
        QStringLiteral("contextHelpFilter"), Qt::FindDirectChildrenOnly));
    if (!filter) {
        filter = new ContextMenuFilter(scope);
    }
    for (QWidget* control : scope->findChildren<QWidget*>()) {
        const QString anchor = ScopeOf(control) == scope ? HelpAnchorOf(control, page) : QString();
        if (anchor.isEmpty()) {
            continue;
        }
        control->setWhatsThis(HelpSectionText(page, anchor));
        // A control with a menu of its own (the folder dialog's views) keeps it; Shift+F1 still
        // shows its text.
        if (control->contextMenuPolicy() == Qt::DefaultContextMenu) {
            control->installEventFilter(filter);
            if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
                area->viewport()->installEventFilter(filter);
            }
        }
    }
    if (scope->isWindow()) {
        InstallHelpKeys(scope, helpKey);
    }
}

QUrl ContextHelpTopic(const QWidget* control) {
    QWidget* scope = ScopeOf(control);
    if (!scope) {
        return {};
    }
    const QString page = scope->property(kPageProperty).toString();
    for (const QWidget* w = control; w && w != scope; w = w->parentWidget()) {
        if (const QString anchor = HelpAnchorOf(w, page); !anchor.isEmpty()) {
            return HelpTopicUrl(page, anchor);
        }
    }
    return HelpTopicUrl(page);
}

HelpViewer* ShowHelpTopic(QWidget* owner, const QUrl& topic) {
    auto* viewer = qobject_cast<HelpViewer*>(owner);
    if (!viewer) {
        viewer = owner->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    }
    if (!viewer) {
        viewer = new HelpViewer(owner);
    }
    viewer->ShowTopic(topic);
    return viewer;
}

}  // namespace tessaly
