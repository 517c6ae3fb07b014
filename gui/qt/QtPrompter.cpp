#include "gui/qt/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

#include "gui/qt/WidgetSupport.h"
#include "resources/StringTable.h"
#include "wizard/WizardDialogs.h"

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
    std::vector<std::string> functions;
    std::size_t start = 0;
    for (std::size_t end = functionList.find(';'); end != std::string::npos;
         end = functionList.find(';', start)) {
        functions.push_back(functionList.substr(start, end - start));
        start = end + 1;
    }
    return dialogs_.ChooseFunction(functions);
}

std::optional<std::string> QtPrompter::ChooseFileToOpen(const std::string& title,
                                                        const std::string& filter,
                                                        const std::string& defaultExtension) {
    OpenFileRequest request{title, {}, defaultExtension};
    const QStringList parts = FromBytes(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        std::vector<std::string> patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns.push_back(ToBytes(pattern.trimmed()));
        }
        request.filters.push_back({ToBytes(parts[i]), patterns});
    }
    return dialogs_.ChooseFileToOpen(request);
}

std::optional<std::string> QtPrompter::ChooseFolder(const std::string& initialFolder) {
    return dialogs_.ChooseFolder(initialFolder);
}

std::optional<StepEditorFields> QtPrompter::EditStep(const StepEditorFields& initial) {
    return dialogs_.EditStep(initial);
}

std::optional<std::size_t> QtPrompter::ChooseAttachedDevice(const DeviceTable& table) {
    return dialogs_.ChooseAttachedDevice(table);
}

}  // namespace tessaly
