#include "gui/qt/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

#include "gui/qt/WaitCursor.h"
#include "gui/qt/WidgetSupport.h"
#include "resources/StringTable.h"

namespace tessaly {

namespace {

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
    const ArrowWhileAsking arrow;
    QMessageBox box(BoxIcon(icon), Caption(), MessageText(text), QMessageBox::Ok, DialogOwner());
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

bool QtPrompter::AskYesNo(const std::string& text) {
    const ArrowWhileAsking arrow;
    QMessageBox box(QMessageBox::Question, Caption(), MessageText(text),
                    QMessageBox::Yes | QMessageBox::No, DialogOwner());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompter::Beep() {
    QApplication::beep();
}

}  // namespace tessaly
