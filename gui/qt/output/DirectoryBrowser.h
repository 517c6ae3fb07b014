#pragma once

#include <QFileDialog>
#include <optional>
#include <string>

#include "gui/qt/QtControlView.h"
#include "wizard/output/DirectoryBrowserPresenter.h"

namespace tessaly {

// The folder chooser of the output page: Qt's folder dialog, starting where its presenter says,
// with a status line showing the current selection.
class CDirectoryBrowser final : public QFileDialog {
    Q_OBJECT
public:
    CDirectoryBrowser(DirectoryBrowserPresenter& presenter, QWidget* owner);

    // The chosen folder, or nullopt when cancelled.
    std::optional<std::string> Show();

private:
    DirectoryBrowserPresenter& presenter_;
    QtControlView view_;
};

}  // namespace tessaly
