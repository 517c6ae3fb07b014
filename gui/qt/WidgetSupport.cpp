#include "gui/qt/WidgetSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace tessaly {

QWidget* DialogOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ToPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

namespace {

constexpr int kRefusalNoteMilliseconds = 6000;
const QString kKeeperName = QStringLiteral("refusalNoteKeeper");

// The note of one field: a label over the window's other controls, under the field (above it
// when there is no room below). Not a tool tip, which the release of the refused key would close.
class RefusalNote final : public QObject {
public:
    explicit RefusalNote(QLineEdit* edit) : QObject(edit), edit_(edit) {
        setObjectName(kKeeperName);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, &RefusalNote::Hide);
        connect(edit, &QLineEdit::textChanged, this, &RefusalNote::Hide);
        edit->installEventFilter(this);
    }
    ~RefusalNote() override { delete label_; }

    void Show(const QString& text) {
        QWidget* window = edit_->window();
        if (!label_ || label_->parentWidget() != window) {
            delete label_;
            label_ = new QLabel(window);
            label_->setObjectName(QStringLiteral("refusalNote"));
            label_->setWordWrap(true);
            label_->setFrameShape(QFrame::Box);
            label_->setMargin(DialogUnitsX(edit_, 2));
            label_->setAutoFillBackground(true);
            label_->setForegroundRole(QPalette::ToolTipText);
            label_->setBackgroundRole(QPalette::ToolTipBase);
        }
        label_->setText(text);
        const QPoint below = edit_->mapTo(window, QPoint(0, edit_->height()));
        const int width = std::max(edit_->width(), window->width() / 2);
        label_->setFixedWidth(std::min(width, window->width() - below.x()));
        label_->adjustSize();
        const int y = below.y() + label_->height() <= window->height()
                          ? below.y()
                          : below.y() - edit_->height() - label_->height();
        label_->move(below.x(), std::max(0, y));
        label_->raise();
        label_->show();
        timer_.start(kRefusalNoteMilliseconds);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide) {
            Hide();
        }
        return false;
    }

private:
    void Hide() {
        timer_.stop();
        if (label_) {
            label_->hide();
        }
    }

    QLineEdit* edit_;
    QPointer<QLabel> label_;
    QTimer timer_;
};

}  // namespace

void ShowRefusalNote(QLineEdit* edit, const QString& note) {
    // Found by name: the class has no meta-object of its own to find it by.
    auto* shown = dynamic_cast<RefusalNote*>(
        edit->findChild<QObject*>(kKeeperName, Qt::FindDirectChildrenOnly));
    if (!shown) {
        shown = new RefusalNote(edit);
    }
    shown->Show(note);
}

QPushButton* MakeButton(const QString& text, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

QLabel* MakeText(const QString& text, QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!objectName.isEmpty()) {
        label->setObjectName(objectName);
    }
    return label;
}

QFrame* MakeSeparator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* MakeBuddyLabel(const QString& text, QWidget* buddy, QWidget* parent,
                       const QString& objectName) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setBuddy(buddy);
    return label;
}

namespace {

// Once a ShortcutOverride is taken, the key also arrives as a key press at the focused control,
// where a field would type its letter: this eats that one press. It lives only until the event
// loop turns, since the press follows the override at once.
class KeyPressEater final : public QObject {
public:
    KeyPressEater(QWidget* target, QKeyCombination key) : QObject(target), key_(key) {
        target->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { deleteLater(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->keyCombination() == key_) {
            deleteLater();
            return true;
        }
        return false;
    }

private:
    QKeyCombination key_;
};

}  // namespace

bool ClaimMnemonic(QWidget* scope, QEvent* event, bool directOnly) {
    if (event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::AltModifier) {
        return false;
    }
    const QKeySequence sequence(key->keyCombination());
    const auto buttons = scope->findChildren<QAbstractButton*>(
        QString(), directOnly ? Qt::FindDirectChildrenOnly : Qt::FindChildrenRecursively);
    for (QAbstractButton* button : buttons) {
        if (button->isEnabled() && button->isVisibleTo(scope) &&
            button->shortcut().matches(sequence) == QKeySequence::ExactMatch) {
            key->accept();
            if (QWidget* focused = QApplication::focusWidget()) {
                new KeyPressEater(focused, key->keyCombination());
            }
            button->animateClick();
            return true;
        }
    }
    return false;
}

namespace {

// Windows' base unit: the average width of the Latin letters and the line height.
QSize BaseUnits(const QWidget* widget) {
    const QFontMetrics metrics(widget->font());
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return {width, metrics.height()};
}

}  // namespace

int DialogUnitsX(const QWidget* widget, int units) {
    return units * BaseUnits(widget).width() / 4;
}

int DialogUnitsY(const QWidget* widget, int units) {
    return units * BaseUnits(widget).height() / 8;
}

}  // namespace tessaly
