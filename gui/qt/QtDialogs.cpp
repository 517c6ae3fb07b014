#include "gui/qt/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>

#include "gui/qt/RunWhileBusy.h"
#include "gui/qt/WaitCursor.h"
#include "gui/qt/WidgetSupport.h"
#include "gui/qt/discovery/AttachedDeviceDialog.h"
#include "gui/qt/interrupts/StepEditorDialog.h"
#include "gui/qt/modulefile/FunctionSelectDialog.h"
#include "gui/qt/output/DirectoryBrowser.h"

namespace tessaly {

namespace {

// A type of the open-file dialog in Qt's form, "Name (patterns)", where "*.*" (any file on
// Windows) is "*".
QString QtFilter(const FileFilter& filter) {
    QString name = FromBytes(filter.name);
    name.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
    QStringList patterns;
    for (const std::string& pattern : filter.patterns) {
        patterns.append(pattern == "*.*" ? QStringLiteral("*") : FromBytes(pattern));
    }
    return name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace

std::optional<int> QtDialogs::ChooseFunction(const std::vector<std::string>& functions) {
    FunctionSelectPresenter presenter(functions);
    CFunctionSelectDialog dialog(presenter, DialogOwner());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return presenter.position();
}

std::optional<std::string> QtDialogs::ChooseFileToOpen(const OpenFileRequest& request) {
    QFileDialog dialog(DialogOwner(), FromBytes(request.title));
    dialog.setObjectName(QStringLiteral("openFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        filters.append(QtFilter(filter));
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(FromBytes(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToPath(dialog.selectedFiles().front());
}

std::optional<std::string> QtDialogs::ChooseFolder(const std::string& initialFolder) {
    DirectoryBrowserPresenter presenter(initialFolder, files_);
    CDirectoryBrowser browser(presenter, DialogOwner());
    return browser.Show();
}

std::optional<StepEditorFields> QtDialogs::EditStep(const StepEditorFields& initial) {
    StepEditorPresenter presenter(initial);
    CStepEditorDialog dialog(presenter, DialogOwner());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return presenter.fields();
}

std::optional<std::size_t> QtDialogs::ChooseAttachedDevice(const DeviceTable& table) {
    AttachedDevicePresenter presenter(table);
    CAttachedDeviceDialog dialog(presenter, DialogOwner());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return presenter.ChosenRow();
}

void QtDialogs::WithWaitCursor(const std::function<void()>& job) {
    const WaitCursor busy;
    job();
}

void QtDialogs::RunWhileBusy(const std::function<void()>& job) {
    if (QWidget* window = QApplication::activeWindow()) {
        tessaly::RunWhileBusy(window, job);
    } else {
        const WaitCursor busy;
        job();
    }
}

}  // namespace tessaly
