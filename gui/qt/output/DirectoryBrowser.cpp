#include "gui/qt/output/DirectoryBrowser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"
#include "output/FolderStatusText.h"

namespace tessaly {

namespace {

// The initial folder may not exist yet (the default output directory is created by the
// generation): start at its nearest existing parent.
QString ExistingFolder(const QString& path) {
    if (path.isEmpty()) {
        return QDir::homePath();
    }
    QFileInfo info(path);
    while (!info.isDir()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath()) {
            return QDir::homePath();
        }
        info = QFileInfo(parent);
    }
    return info.absoluteFilePath();
}

}  // namespace

CDirectoryBrowser::CDirectoryBrowser(const std::string& initialFolder, QWidget* owner)
    : QFileDialog(owner), initialFolder_(initialFolder) {
    setObjectName(QStringLiteral("directoryBrowser"));
    setWindowTitle(tr("Browse for Folder"));
    // Qt's own dialog, so the status line can sit under the folder view.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::ShowDirsOnly, true);
    setFileMode(QFileDialog::Directory);
    setAcceptMode(QFileDialog::AcceptOpen);
    setDirectory(ExistingFolder(FromPath(initialFolder)));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusText"));
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        auto* title = new QLabel(tr("Current Selection"), this);
        title->setObjectName(QStringLiteral("selectionTitle"));
        grid->addWidget(title, row, 0);
        grid->addWidget(status_, row, 1, 1, grid->columnCount() - 1);
    }
    SetSelection(FromPath(initialFolder));
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) {
        if (!path.isEmpty()) {
            SetSelection(path);
        }
    });
    connect(this, &QFileDialog::directoryEntered, this,
            [this](const QString& path) { SetSelection(path); });

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
}

void CDirectoryBrowser::SetSelection(const QString& path) {
    selection_ = ToPath(path);
    status_->setText(FromPath(ShortenStatusText(selection_)));
}

QString CDirectoryBrowser::StatusText() const {
    return status_->text();
}

int CDirectoryBrowser::Show() {
    SetSelection(FromPath(initialFolder_));
    if (exec() != QDialog::Accepted) {
        return 2;
    }
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) {
        return 2;
    }
    selection_ = ToPath(QDir::toNativeSeparators(chosen.front()));
    return 1;
}

}  // namespace tessaly
