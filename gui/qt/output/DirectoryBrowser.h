#pragma once

#include <QFileDialog>
#include <string>

class QLabel;

namespace tessaly {

// The folder chooser of the output page: Qt's folder dialog starting at the initial folder,
// with a status line showing the current selection, shortened.
class CDirectoryBrowser final : public QFileDialog {
    Q_OBJECT
public:
    CDirectoryBrowser(const std::string& initialFolder, QWidget* owner);

    // 1 when a folder was chosen, 2 when cancelled.
    int Show();
    // The chosen folder after Show returned 1.
    const std::string& ChosenPath() const { return selection_; }
    QString StatusText() const;

private:
    void SetSelection(const QString& path);

    std::string initialFolder_;
    std::string selection_;
    QLabel* status_ = nullptr;
};

}  // namespace tessaly
