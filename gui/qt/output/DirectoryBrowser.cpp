#include "gui/qt/output/DirectoryBrowser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CDirectoryBrowser::CDirectoryBrowser(DirectoryBrowserPresenter& presenter, QWidget* owner)
    : QFileDialog(owner), presenter_(presenter), view_(presenter, this) {
    setObjectName(QStringLiteral("directoryBrowser"));
    setWindowTitle(tr("Browse for Folder"));
    // Qt's own dialog, so the status line can sit under the folder view.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::ShowDirsOnly, true);
    setFileMode(QFileDialog::Directory);
    setAcceptMode(QFileDialog::AcceptOpen);
    const std::optional<std::string> start = presenter.StartFolder();
    setDirectory(start ? FromPath(*start) : QDir::homePath());

    auto* status = new QLabel(this);
    view_.Bind(kStatusText, status);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        auto* title = new QLabel(tr("Current Selection"), this);
        title->setObjectName(QStringLiteral("selectionTitle"));
        grid->addWidget(title, row, 0);
        grid->addWidget(status, row, 1, 1, grid->columnCount() - 1);
    }
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) {
        if (!path.isEmpty()) {
            presenter_.OnFolderSelected(ToPath(path));
        }
    });
    connect(this, &QFileDialog::directoryEntered, this,
            [this](const QString& path) { presenter_.OnFolderSelected(ToPath(path)); });

    // Qt's dialog names its controls; its two buttons get names here, so they have help too.
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        for (const auto& [which, name] : {std::pair{QDialogButtonBox::Open, "chooseButton"},
                                          std::pair{QDialogButtonBox::Cancel, "cancelButton"}}) {
            if (QPushButton* button = buttons->button(which)) {
                button->setObjectName(QString::fromLatin1(name));
            }
        }
    }
    InstallContextHelp(this, QStringLiteral("folderbrowser.html"));
    presenter.Attach(view_);
}

std::optional<std::string> CDirectoryBrowser::Show() {
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) {
        return std::nullopt;
    }
    return ToPath(QDir::toNativeSeparators(chosen.front()));
}

}  // namespace tessaly
