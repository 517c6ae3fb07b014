#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace tessaly {

// The help window: the contents (every page with its sections) and a search field on the left,
// the topic on the right. Arrow keys in the contents show each topic, Enter moves on to the
// text; typing in the search field keeps only the topics holding every word, Enter shows the
// first of them with the word marked, Down goes to the contents.
class HelpViewer final : public QDialog {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent);

    void ShowTopic(const QUrl& topic);
    QUrl topic() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildContents();
    void SelectContentsItem(const QUrl& topic);
    void Search(const QString& text);
    void ShowFirstMatch();

    QLineEdit* search_;
    QLabel* searchStatus_;
    QTreeWidget* contents_;
    QTextBrowser* browser_;
};

}  // namespace tessaly
