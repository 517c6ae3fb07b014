#include "gui/qt/QtControlView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QValidator>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {
namespace {

// Asks the presenter before a field takes text; a refusal keeps the text and shows its note.
class RefusalValidator final : public QValidator {
public:
    RefusalValidator(ControlPresenter& presenter, ControlId control, QLineEdit* edit)
        : QValidator(edit), presenter_(presenter), control_(control), edit_(edit) {}

    State validate(QString& input, int&) const override {
        const std::optional<std::string> refusal =
            presenter_.RefusalOf(control_, input.toUtf8().toStdString());
        if (!refusal) {
            return Acceptable;
        }
        if (!refusal->empty()) {
            ShowRefusalNote(
                edit_, QString::fromUtf8(refusal->data(), static_cast<qsizetype>(refusal->size())));
        }
        return Invalid;
    }

private:
    ControlPresenter& presenter_;
    ControlId control_;
    QLineEdit* edit_;
};

QString LineBreaksForQt(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

RowList::RowList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setStretchLastSection(false);
}

void RowList::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    std::optional<RowKey> key;
    switch (event->key()) {
        case Qt::Key_F2:
            key = RowKey::Edit;
            break;
        case Qt::Key_Delete:
            key = RowKey::Remove;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            key = RowKey::Enter;
            break;
        default:
            break;
    }
    if (plain && key && keys && keys(*key)) {
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QtControlView::QtControlView(ControlPresenter& presenter, QWidget* scope)
    : QObject(scope), presenter_(presenter), scope_(scope) {}

template <typename Call>
void QtControlView::Forward(Call call) {
    if (applying_ == 0) {
        call();
    }
}

QString QtControlView::ToQt(ControlId control, const std::string& bytes) const {
    const auto size = static_cast<qsizetype>(bytes.size());
    switch (ControlEncoding(presenter_.dialog(), control)) {
        case TextEncoding::Path:
            return LineBreaksForQt(QFile::decodeName(QByteArray(bytes.data(), size)));
        case TextEncoding::Utf8:
            return LineBreaksForQt(QString::fromUtf8(bytes.data(), size));
        case TextEncoding::Latin1:
            break;
    }
    return LineBreaksForQt(QString::fromLatin1(bytes.data(), size));
}

std::string QtControlView::FromQt(ControlId control, const QString& text) const {
    switch (ControlEncoding(presenter_.dialog(), control)) {
        case TextEncoding::Path:
            return QFile::encodeName(text).toStdString();
        case TextEncoding::Utf8:
            return text.toUtf8().toStdString();
        case TextEncoding::Latin1:
            break;
    }
    return ToBytes(text);
}

void QtControlView::Bind(ControlId control, QWidget* widget, QWidget* shownWith) {
    controls_[control] = {widget, shownWith ? shownWith : widget};
    if (const auto name = ControlName(presenter_.dialog(), control)) {
        widget->setObjectName(
            QString::fromLatin1(name->data(), static_cast<qsizetype>(name->size())));
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setValidator(new RefusalValidator(presenter_, control, edit));
        connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
            Forward([&] { presenter_.OnTextChanged(control, FromQt(control, text)); });
        });
        edit->installEventFilter(this);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, control](int index) {
            Forward([&] { presenter_.OnItemChosen(control, index); });
        });
        combo->installEventFilter(this);
    } else if (auto* list = qobject_cast<RowList*>(widget)) {
        list->keys = [this, control](RowKey key) { return presenter_.OnRowKey(control, key); };
        connect(list, &QTreeWidget::itemSelectionChanged, this,
                [this, control] { Forward([&] { presenter_.OnSelectionChanged(control); }); });
        connect(list, &QTreeWidget::itemDoubleClicked, this,
                [this, control, list](QTreeWidgetItem* item) {
                    const int row = list->indexOfTopLevelItem(item);
                    if (row >= 0) {
                        presenter_.OnRowActivated(control, static_cast<std::size_t>(row));
                    }
                });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, control, button](bool checked) {
            if (button->isCheckable()) {
                presenter_.OnChecked(control, checked);
            } else {
                presenter_.OnClicked(control);
            }
        });
    }
}

std::optional<ControlId> QtControlView::IdOf(const QWidget* widget) const {
    for (const QWidget* w = widget; w && w != scope_; w = w->parentWidget()) {
        for (const auto& [control, bound] : controls_) {
            if (bound.widget == w) {
                return control;
            }
        }
    }
    return std::nullopt;
}

QWidget* QtControlView::Widget(ControlId control) const {
    const auto found = controls_.find(control);
    return found == controls_.end() ? nullptr : found->second.widget;
}

bool QtControlView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // A menu, a list's own popup or another window taking the focus does not mean the user
        // left the control.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (const auto control = IdOf(static_cast<QWidget*>(watched))) {
                presenter_.OnFocusLeft(*control);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void QtControlView::SetText(ControlId control, const std::string& text) {
    QWidget* widget = Widget(control);
    const QString shown = ToQt(control, text);
    ++applying_;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Only a change: typing keeps its cursor and undo. A text set here shows its start.
        if (edit->text() != shown) {
            edit->setText(shown);
            edit->setCursorPosition(0);
        }
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(shown);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        if (plain->toPlainText() != shown) {
            plain->setPlainText(shown);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(shown);
    }
    --applying_;
}

void QtControlView::SetEnabled(ControlId control, bool enabled) {
    if (QWidget* widget = Widget(control)) {
        widget->setEnabled(enabled);
    }
}

void QtControlView::SetChecked(ControlId control, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(Widget(control))) {
        ++applying_;
        button->setChecked(checked);
        --applying_;
    }
}

void QtControlView::SetVisible(ControlId control, bool visible) {
    if (const auto found = controls_.find(control); found != controls_.end()) {
        found->second.shownWith->setVisible(visible);
    }
}

void QtControlView::SetFocus(ControlId control) {
    if (QWidget* widget = Widget(control)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void QtControlView::SetItems(ControlId control, const std::vector<std::string>& items) {
    if (auto* combo = qobject_cast<QComboBox*>(Widget(control))) {
        ++applying_;
        combo->clear();
        for (const std::string& item : items) {
            combo->addItem(ToQt(control, item));
        }
        --applying_;
    }
}

void QtControlView::SetCurrentItem(ControlId control, int index) {
    if (auto* combo = qobject_cast<QComboBox*>(Widget(control))) {
        ++applying_;
        combo->setCurrentIndex(index);
        --applying_;
    }
}

void QtControlView::SetColumns(ControlId control, const std::vector<ListColumn>& columns) {
    auto* list = qobject_cast<QTreeWidget*>(Widget(control));
    if (!list) {
        return;
    }
    columns_[control] = columns;
    QStringList titles;
    for (const ListColumn& column : columns) {
        titles.append(ToQt(control, column.title));
    }
    list->setHeaderLabels(titles);
    FitColumns(control, list);
}

// Columns in pixels take them; the others their texts' width, up to their characters.
void QtControlView::FitColumns(ControlId control, QTreeWidget* list) {
    const std::vector<ListColumn>& columns = columns_[control];
    // A digit is as wide as the widest usual character: addresses and IDs fit whole.
    const int character = list->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const auto column = static_cast<int>(c);
        if (columns[c].pixels > 0) {
            list->setColumnWidth(column, columns[c].pixels);
            continue;
        }
        list->resizeColumnToContents(column);
        const int widest = columns[c].characters * character +
                           2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin);
        list->setColumnWidth(column, std::min(list->columnWidth(column), widest));
    }
}

void QtControlView::SetRows(ControlId control, const std::vector<std::vector<std::string>>& rows) {
    auto* list = qobject_cast<QTreeWidget*>(Widget(control));
    if (!list) {
        return;
    }
    ++applying_;
    list->clear();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        InsertRow(control, r, rows[r]);
    }
    FitColumns(control, list);
    --applying_;
}

void QtControlView::InsertRow(ControlId control, std::size_t row,
                              const std::vector<std::string>& cells) {
    auto* list = qobject_cast<QTreeWidget*>(Widget(control));
    if (!list) {
        return;
    }
    ++applying_;
    auto* item = new QTreeWidgetItem;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        item->setText(static_cast<int>(c), ToQt(control, cells[c]));
    }
    list->insertTopLevelItem(static_cast<int>(row), item);
    --applying_;
}

void QtControlView::SetRow(ControlId control, std::size_t row,
                           const std::vector<std::string>& cells) {
    auto* list = qobject_cast<QTreeWidget*>(Widget(control));
    if (QTreeWidgetItem* item = list ? list->topLevelItem(static_cast<int>(row)) : nullptr) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            item->setText(static_cast<int>(c), ToQt(control, cells[c]));
        }
    }
}

void QtControlView::RemoveRow(ControlId control, std::size_t row) {
    if (auto* list = qobject_cast<QTreeWidget*>(Widget(control))) {
        ++applying_;
        delete list->takeTopLevelItem(static_cast<int>(row));
        --applying_;
    }
}

void QtControlView::SelectRow(ControlId control, std::size_t row) {
    auto* list = qobject_cast<QTreeWidget*>(Widget(control));
    QTreeWidgetItem* item = list ? list->topLevelItem(static_cast<int>(row)) : nullptr;
    if (!item) {
        return;
    }
    ++applying_;
    list->selectionModel()->setCurrentIndex(
        list->indexFromItem(item), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list->scrollToItem(item);
    --applying_;
}

std::vector<std::size_t> QtControlView::SelectedRows(ControlId control) const {
    std::vector<std::size_t> rows;
    if (auto* list = qobject_cast<QTreeWidget*>(Widget(control))) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->isSelected()) {
                rows.push_back(static_cast<std::size_t>(i));
            }
        }
    }
    return rows;
}

void QtControlView::Beep() {
    QApplication::beep();
}

void QtControlView::Close(bool accepted) {
    if (auto* dialog = qobject_cast<QDialog*>(scope_)) {
        dialog->done(accepted ? QDialog::Accepted : QDialog::Rejected);
    }
}

}  // namespace tessaly
