#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

class QWidget;

namespace tessaly {

class HelpViewer;

// The help is a set of HTML pages in the resources (qrc:/help/): one per wizard page and dialog,
// and a few on the program as a whole. A control's section is an <h3> heading holding an anchor
// named after the control's objectName, with what follows up to the next heading or rule. That
// section is both the control's topic (F1) and its "What's This?" text, so it is written once.

struct HelpSection {
    QStringList anchors;  // the names of the controls it describes
    QString heading;      // plain text
    QString html;         // the text after the heading
};

// The pages in the order the help window's contents list shows them.
const QStringList& HelpPages();
QUrl HelpTopicUrl(const QString& page, const QString& anchor = {});
// The page's HTML, empty when the resources hold no such page.
const QString& HelpPageHtml(const QString& page);
// The page's <title>.
QString HelpPageTitle(const QString& page);
const std::vector<HelpSection>& HelpSections(const QString& page);
// The section describing `anchor` in "What's This?" form (heading in bold, then the text);
// empty when the page has none.
QString HelpSectionText(const QString& page, const QString& anchor);

// Makes `page` the help of `scope` (a window, or a wizard page inside one): each of its controls
// whose objectName has a section there gets that section as its "What's This?" text and a
// "What's This?" entry in its context menu; a label without a section of its own takes its
// buddy's. A control inside a nested scope is left to that scope. On a window it also installs
// Shift+F1 (the focused control's "What's This?") and, with `helpKey`, F1 (the focused control's
// topic). Call it again after adding controls; it only adds what is missing.
void InstallContextHelp(QWidget* scope, const QString& page, bool helpKey = true);

// The topic of `control`: the section of the nearest of it and its parents that has one in its
// scope's page, else that page; empty when no help page was installed above it.
QUrl ContextHelpTopic(const QWidget* control);

// Shows the topic in `owner`'s help window, created on first use as its child (so it stays usable
// while `owner` is modal); a help window shows it in itself.
HelpViewer* ShowHelpTopic(QWidget* owner, const QUrl& topic);

}  // namespace tessaly
