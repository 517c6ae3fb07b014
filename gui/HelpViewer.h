#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

namespace tessaly {

// A small window beside the wizard showing the help topic of a page.
class HelpViewer final : public QDialog {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent);

    void ShowTopic(const QUrl& topic);
    QUrl topic() const;

private:
    QTextBrowser* browser_;
};

}  // namespace tessaly
