#include "gui/qt/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringDecoder>

#include "gui/qt/WidgetSupport.h"
#include "gui/qt/discovery/AttachedDeviceDialog.h"
#include "gui/qt/interrupts/StepEditorDialog.h"
#include "gui/qt/modulefile/FunctionSelectDialog.h"
#include "gui/qt/output/DirectoryBrowser.h"
#include "resources/StringTable.h"

namespace tessaly {

namespace {

QWidget* Owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

QString Caption() {
    return FromBytes(std::string(strings::kAppTitle));
}

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString MessageText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) {
        return text;
    }
    return FromBytes(bytes);
}

QStringList QtFileFilters(const std::string& filter) {
    const QStringList parts = FromBytes(filter).split(QLatin1Char('|'));
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (name.isEmpty()) {
            break;
        }
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*")) {
                pattern = QStringLiteral("*");
            }
        }
        name.remove(trailingPatterns);
        filters.append(name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

void QtPrompter::ShowMessage(const std::string& text, MessageIcon icon) {
    QMessageBox box(BoxIcon(icon), Caption(), MessageText(text), QMessageBox::Ok, Owner());
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

bool QtPrompter::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, Caption(), MessageText(text),
                    QMessageBox::Yes | QMessageBox::No, Owner());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompter::Beep() {
    QApplication::beep();
}

std::optional<int> QtPrompter::ChooseFunction(const std::string& functionList) {
    CFunctionSelectDialog dialog(functionList, Owner());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.ChosenPosition();
}

std::optional<std::string> QtPrompter::ChooseFileToOpen(const std::string& title,
                                                        const std::string& filter,
                                                        const std::string& defaultExtension) {
    QFileDialog dialog(Owner(), FromBytes(title));
    dialog.setObjectName(QStringLiteral("openFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(QtFileFilters(filter));
    dialog.setDefaultSuffix(FromBytes(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToPath(dialog.selectedFiles().front());
}

std::optional<std::string> QtPrompter::ChooseFolder(const std::string& initialFolder) {
    CDirectoryBrowser browser(initialFolder, Owner());
    if (browser.Show() != 1) {
        return std::nullopt;
    }
    return browser.ChosenPath();
}

std::optional<StepEditorFields> QtPrompter::EditStep(const StepEditorFields& initial) {
    CStepEditorDialog dialog(initial, Owner());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Fields();
}

std::optional<std::size_t> QtPrompter::ChooseAttachedDevice(const DeviceTable& table) {
    CAttachedDeviceDialog dialog(table, Owner());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.ChosenRow();
}

}  // namespace tessaly
