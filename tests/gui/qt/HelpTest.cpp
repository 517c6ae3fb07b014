#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWhatsThis>
#include <set>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/HelpViewer.h"
#include "gui/qt/discovery/AttachedDeviceDialog.h"
#include "gui/qt/interrupts/StepEditorDialog.h"
#include "gui/qt/modulefile/FunctionSelectDialog.h"
#include "gui/qt/output/DirectoryBrowser.h"
#include "tests/fakes/TempDir.h"
#include "tests/gui/qt/WizardHarness.h"

namespace tessaly::testing {
namespace {

// What a user may ask about: buttons, boxes, fields, lists and the labels that name them. A
// list's header and a field's own buttons are parts of their control.
bool BearsHelp(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->buddy() != nullptr;
    }
    const QWidget* parent = w->parentWidget();
    if (qobject_cast<const QHeaderView*>(w) || qobject_cast<const QLineEdit*>(parent) ||
        qobject_cast<const QComboBox*>(parent)) {
        return false;
    }
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w);
}

std::vector<QWidget*> HelpBearingControls(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() == window && w->isVisibleTo(window) && BearsHelp(w)) {
            controls.push_back(w);
        }
    }
    return controls;
}

HelpViewer* ViewerOf(QWidget* window) {
    auto* viewer = qobject_cast<HelpViewer*>(window);
    return viewer ? viewer : window->findChild<HelpViewer*>();
}

// The control's section is its topic and its "What's This?" text, offered by its context menu;
// F1 on it opens the topic (on the sheet's own buttons, the page's).
void ExpectHelp(QWidget* control, const QUrl& f1Topic) {
    QWidget* window = control->window();
    SCOPED_TRACE((window->objectName() + "/" + control->objectName() + " (" +
                  control->metaObject()->className() + ")")
                     .toStdString());
    const QUrl topic = ContextHelpTopic(control);
    const QString page = topic.fileName();
    ASSERT_FALSE(topic.fragment().isEmpty()) << "no section in " << page.toStdString();
    EXPECT_TRUE(HelpPageHtml(page).contains("<a name=\"" + topic.fragment() + "\">"));
    EXPECT_FALSE(control->whatsThis().isEmpty());
    EXPECT_EQ(control->whatsThis(), HelpSectionText(page, topic.fragment()));

    // The folder dialog's lists keep their own menus (rename, delete, new folder).
    if (control->contextMenuPolicy() == Qt::DefaultContextMenu) {
        auto* area = qobject_cast<QAbstractScrollArea*>(control);
        QWidget* target = area ? area->viewport() : control;
        const QPoint centre = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, centre, target->mapToGlobal(centre));
        QApplication::sendEvent(target, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        ASSERT_TRUE(menu->findChild<QAction*>("whatsThisAction"));
        QTest::keyClick(menu, Qt::Key_W);
        const QWidget* shown = QApplication::activePopupWidget();
        EXPECT_TRUE(shown && shown->inherits("QWhatsThat"));
        QWhatsThis::hideText();
    }

    if (control->isEnabled() && (control->focusPolicy() & Qt::TabFocus)) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_F1);
        HelpViewer* viewer = ViewerOf(window);
        ASSERT_TRUE(viewer);
        EXPECT_EQ(viewer->topic().toString(), f1Topic.toString());
        if (viewer != window) {
            viewer->close();
        }
    }
}

// No two visible controls of a window, the sheet's buttons included, share a mnemonic: the
// second would only be reached by pressing the letter again.
void ExpectUniqueMnemonics(const QWidget* window, QChar shared = {}) {
    std::multiset<QChar> letters;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        const auto* label = qobject_cast<const QLabel*>(w);
        const QString text = button ? button->text() : label && label->buddy() ? label->text() : "";
        const qsizetype amp = QString(text).replace("&&", "__").indexOf('&');
        if (w->isVisible() && amp >= 0 && amp + 1 < text.size()) {
            letters.insert(text[amp + 1].toUpper());
        }
    }
    for (const QChar letter : letters) {
        EXPECT_TRUE(letters.count(letter) == 1 || letter == shared)
            << window->objectName().toStdString() << " &" << QString(letter).toStdString();
    }
}

using Help = WizardHarness;

// One table over every page and dialog: every help-bearing control has its section, and no
// mnemonic is taken twice.
TEST_F(Help, EveryControlHasItsTopicAndWhatsThis) {
    model.device.UsesSubsystem = true;  // the subsystem fields take the focus
    model.device.IsCompoundDevice = true;
    model.device.GeneratesInterrupts = true;
    model.device.DetectSequences = {{0, "C8 BAR0 0x00000010 0xFF 0x01;", 1}};
    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");  // the FTP choice
    std::size_t checked = 0;
    for (const PageId id : kPageOrder) {
        Open(id);
        CWizardPage* page = sheet->ActivePage();
        // "Add a step before" shares B with Back; where the focus is decides.
        ExpectUniqueMnemonics(sheet.get(),
                              page->findChild<QWidget*>("addBeforeButton") ? QChar('B') : QChar());
        for (QWidget* control : HelpBearingControls(sheet.get())) {
            const bool ofThePage = page->isAncestorOf(control);
            ExpectHelp(control, ofThePage ? ContextHelpTopic(control) : page->HelpUrl(nullptr));
            ++checked;
        }
    }
    EXPECT_GT(checked, 80u);

    StepEditorPresenter step;
    CStepEditorDialog editor(step);
    FunctionSelectPresenter functions({"F0 (0x0001)", "F1 (0x0002)"});
    CFunctionSelectDialog chooser(functions, nullptr);
    TempDir dir;
    DirectoryBrowserPresenter folder(dir.path().string(), fake.files);
    CDirectoryBrowser browser(folder, nullptr);
    HelpViewer viewer(nullptr);
    viewer.ShowTopic(HelpTopicUrl("index.html"));
    const DeviceTable table{.title = "Attached PCI devices",
                            .columns = {"Address", "Vendor"},
                            .rows = {{.cells = {"0000:04:00.0", "0x1A2B"}}},
                            .emptyText = "none"};
    AttachedDevicePresenter picker(table);
    CAttachedDeviceDialog devices(picker, nullptr);
    for (QWidget* window :
         std::initializer_list<QWidget*>{&editor, &chooser, &browser, &viewer, &devices}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ExpectUniqueMnemonics(window);
        const std::vector<QWidget*> controls = HelpBearingControls(window);
        EXPECT_GE(controls.size(), 3u) << window->objectName().toStdString();
        for (QWidget* control : controls) {
            ExpectHelp(control, ContextHelpTopic(control));
        }
        window->close();
    }
}

// The Help buttons open the topic of the page or dialog itself; Shift+F1 shows the focused
// control's "What's This?" text.
TEST_F(Help, HelpButtonsOpenThePageOrDialogTopic) {
    Open(kPageWelcomePxi);
    Find("manufCodeEdit")->setFocus();
    QTest::keyClick(Find("manufCodeEdit"), Qt::Key_F1, Qt::ShiftModifier);
    const QWidget* shown = QApplication::activePopupWidget();
    EXPECT_TRUE(shown && shown->inherits("QWhatsThat"));
    QWhatsThis::hideText();
    Click("helpButton");
    EXPECT_EQ(Find<HelpViewer>("helpViewer")->topic(), QUrl("qrc:/help/page110.html"));

    StepEditorPresenter step;
    CStepEditorDialog editor(step);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTest::keyClick(&editor, Qt::Key_H, Qt::AltModifier);
    auto* viewer = editor.findChild<HelpViewer*>();
    ASSERT_TRUE(QTest::qWaitFor(
        [&viewer, &editor] { return (viewer = editor.findChild<HelpViewer*>()) != nullptr; }));
    EXPECT_EQ(viewer->topic(), QUrl("qrc:/help/dialog106.html"));
}

// Every page in the resources is in the contents, and every link between pages lands on a page
// and section that exist.
TEST(HelpViewerTest, ContentsListEveryPageAndLinksResolve) {
    QStringList pages = HelpPages();
    QStringList stored = QDir(QStringLiteral(":/help")).entryList(QDir::Files);
    pages.sort();
    stored.sort();
    EXPECT_EQ(pages, stored);
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)#?([^\"]*)\""));
    for (const QString& page : HelpPages()) {
        EXPECT_FALSE(HelpPageTitle(page).isEmpty()) << page.toStdString();
        for (auto found = link.globalMatch(HelpPageHtml(page)); found.hasNext();) {
            const QRegularExpressionMatch target = found.next();
            SCOPED_TRACE((page + " -> " + target.captured(0)).toStdString());
            EXPECT_TRUE(pages.contains(target.captured(1)));
            const QString anchor = target.captured(2);
            EXPECT_TRUE(anchor.isEmpty() || !HelpSectionText(target.captured(1), anchor).isEmpty());
        }
    }
}

// The help window's contents follow the topic shown; the search keeps the topics holding every
// word and Enter shows the first with the word marked; all by keys.
TEST(HelpViewerTest, ContentsAndSearchWorkFromTheKeyboard) {
    HelpViewer viewer(nullptr);
    viewer.ShowTopic(HelpTopicUrl("page110.html", "manufCodeEdit"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
    auto* contents = viewer.findChild<QTreeWidget*>("helpContents");
    auto* browser = viewer.findChild<QTextBrowser*>("helpBrowser");
    ASSERT_TRUE(contents->currentItem());
    EXPECT_EQ(contents->currentItem()->text(0), "PXI Manufacturer ID");

    const auto shownTopics = [contents] {
        QStringList shown;
        for (int i = 0; i < contents->topLevelItemCount(); ++i) {
            if (!contents->topLevelItem(i)->isHidden()) {
                shown << contents->topLevelItem(i)->text(0);
            }
        }
        return shown;
    };
    QTest::keyClick(&viewer, Qt::Key_S, Qt::AltModifier);
    QWidget* search = QApplication::focusWidget();
    ASSERT_EQ(search->objectName(), "helpSearchEdit");
    QTest::keyClicks(search, "howtosquelch ismine");
    EXPECT_EQ(shownTopics(), QStringList{"Step strings"});
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(browser->source(), HelpTopicUrl("steps.html", "where"));
    EXPECT_EQ(browser->textCursor().selectedText(), "HowToSquelch");
    EXPECT_FALSE(viewer.findChild<QLabel*>("helpSearchStatus")->isVisible());

    QTest::keyClicks(search, "x");  // "isminex" is nowhere
    EXPECT_EQ(shownTopics(), QStringList{});
    EXPECT_TRUE(viewer.findChild<QLabel*>("helpSearchStatus")->isVisible());
    static_cast<QLineEdit*>(search)->clear();
    EXPECT_EQ(shownTopics().size(), HelpPages().size());

    QTest::keyClick(search, Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), contents);
    QTest::keyClick(contents, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), browser);
    QTest::keyClick(&viewer, Qt::Key_Escape);
    EXPECT_FALSE(viewer.isVisible());
}

}  // namespace
}  // namespace tessaly::testing
