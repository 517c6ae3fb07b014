#include "gui/qt/interrupts/StepListPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WidgetSupport.h"
#include "interrupts/SequenceEdits.h"

namespace tessaly {
namespace {

// The report-style list: keys that act on the rows do so here instead of reaching the sheet,
// so Enter edits a step rather than pressing Next. Each callback says whether it acted.
class StepListView final : public QTreeWidget {
public:
    StepListView(QWidget* parent, std::function<bool()> edit, std::function<bool()> remove)
        : QTreeWidget(parent), edit_(std::move(edit)), remove_(std::move(remove)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool plain =
            event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
        const int key = event->key();
        if (plain && key == Qt::Key_F2) {
            edit_();
            return;
        }
        if (plain && key == Qt::Key_Delete) {
            remove_();
            return;
        }
        // Without a step to edit, Enter goes on to the sheet's default button.
        if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter) && edit_()) {
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }

private:
    std::function<bool()> edit_;
    std::function<bool()> remove_;
};

QPushButton* MakeButton(const QString& text, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

}  // namespace

void CStepListPage::CreateStepControls() {
    // The keys act as the buttons do, and only while the button is available.
    const auto press = [](QPushButton* button) {
        const bool enabled = button->isEnabled();
        if (enabled) {
            button->click();
        }
        return enabled;
    };
    auto* list = new StepListView(
        this, [this, press] { return press(editButton_); },
        [this, press] { return press(removeButton_); });
    stepList_ = list;
    stepList_->setObjectName(QStringLiteral("stepList"));
    stepList_->setRootIsDecorated(false);
    stepList_->setItemsExpandable(false);
    stepList_->setUniformRowHeights(true);
    stepList_->setAllColumnsShowFocus(true);
    stepList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    stepList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    stepList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stepList_->setHeaderLabels(
        {tr("Access"), tr("Size"), tr("Space"), tr("Offset"), tr("Mask"), tr("Value")});
    stepList_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    stepList_->header()->setStretchLastSection(false);
    const int widths[] = {65, 50, 60, 95, 95, 95};
    for (int column = 0; column < 6; ++column) {
        stepList_->setColumnWidth(column, widths[column]);
    }

    addBeforeButton_ =
        MakeButton(tr("Add a step &before"), QStringLiteral("addBeforeButton"), this);
    addAfterButton_ = MakeButton(tr("Add a step &after"), QStringLiteral("addAfterButton"), this);
    editButton_ = MakeButton(tr("&Edit a step"), QStringLiteral("editStepButton"), this);
    removeButton_ = MakeButton(tr("&Remove a step"), QStringLiteral("removeStepButton"), this);
    EnableStepButtons(false);

    stepButtons_ = new QHBoxLayout;
    for (QPushButton* button : {addBeforeButton_, addAfterButton_, editButton_, removeButton_}) {
        stepButtons_->addWidget(button);
    }

    connect(addBeforeButton_, &QPushButton::clicked, this, [this] { AddStep(false); });
    connect(addAfterButton_, &QPushButton::clicked, this, [this] { AddStep(true); });
    connect(editButton_, &QPushButton::clicked, this, [this] { EditStep(true); });
    connect(removeButton_, &QPushButton::clicked, this, [this] { RemoveStep(); });
    connect(stepList_, &QTreeWidget::itemDoubleClicked, this, [this] { EditStep(false); });
}

std::vector<InterruptStep> CStepListPage::Rows() const {
    std::vector<InterruptStep> rows;
    for (int i = 0; i < stepList_->topLevelItemCount(); ++i) {
        rows.push_back(Row(static_cast<std::size_t>(i)));
    }
    return rows;
}

void CStepListPage::ShowRows(const std::vector<InterruptStep>& rows) {
    stepList_->clear();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        InsertRow(i, rows[i]);
    }
}

void CStepListPage::EnableStepButtons(bool enabled) {
    editButton_->setEnabled(enabled);
    removeButton_->setEnabled(enabled);
}

std::optional<std::size_t> CStepListPage::FirstSelectedRow() const {
    for (int i = 0; i < stepList_->topLevelItemCount(); ++i) {
        if (stepList_->topLevelItem(i)->isSelected()) {
            return static_cast<std::size_t>(i);
        }
    }
    return std::nullopt;
}

bool CStepListPage::InsertRow(std::size_t row, const InterruptStep& step) {
    if (row > static_cast<std::size_t>(stepList_->topLevelItemCount())) {
        return false;
    }
    auto* item = new QTreeWidgetItem;
    stepList_->insertTopLevelItem(static_cast<int>(row), item);
    if (stepList_->indexOfTopLevelItem(item) != static_cast<int>(row)) {
        delete item;
        return false;
    }
    SetRow(row, step);
    return true;
}

InterruptStep CStepListPage::Row(std::size_t row) const {
    const QTreeWidgetItem* item = stepList_->topLevelItem(static_cast<int>(row));
    const auto cell = [item](int column) { return ToBytes(item->text(column)); };
    return {cell(0), cell(1), cell(2), cell(3), cell(4), cell(5)};
}

void CStepListPage::SetRow(std::size_t row, const InterruptStep& step) {
    QTreeWidgetItem* item = stepList_->topLevelItem(static_cast<int>(row));
    const std::string* cells[] = {&step.Access, &step.Size, &step.Space,
                                  &step.Offset, &step.Mask, &step.Value};
    for (int column = 0; column < 6; ++column) {
        item->setText(column, FromBytes(*cells[column]));
    }
}

void CStepListPage::AddStep(bool after) {
    const std::optional<StepEditorFields> fields = sheet().prompter().EditStep({});
    if (!fields) {
        return;
    }
    const std::size_t row = NewStepRow(
        FirstSelectedRow(), static_cast<std::size_t>(stepList_->topLevelItemCount()), after);
    const InterruptStep step = RowFromEditorFields(*fields);
    if (!InsertRow(row, step)) {
        sheet().prompter().Beep();
        return;
    }
    OnStepAdded(row, step);
    EnableStepButtons(true);
    OnStepsChanged();
}

void CStepListPage::EditStep(bool beepWithoutSelection) {
    const std::optional<std::size_t> row = FirstSelectedRow();
    if (!row) {
        if (beepWithoutSelection) {
            sheet().prompter().Beep();
        }
        return;
    }
    const InterruptStep before = Row(*row);
    const std::optional<StepEditorFields> fields =
        sheet().prompter().EditStep(EditorFieldsFromRow(before));
    if (!fields) {
        return;
    }
    SetRow(*row, RowFromEditorFields(*fields, before));
    OnStepEdited();
    OnStepsChanged();
}

void CStepListPage::RemoveStep() {
    const std::optional<std::size_t> row = FirstSelectedRow();
    if (!row) {
        sheet().prompter().Beep();
        return;
    }
    OnStepRemoving(*row);
    delete stepList_->takeTopLevelItem(static_cast<int>(*row));
    if (stepList_->topLevelItemCount() > 0) {
        QTreeWidgetItem* item = stepList_->topLevelItem(static_cast<int>(RowAfterRemoval(*row)));
        const QModelIndex index = stepList_->indexFromItem(item);
        stepList_->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        stepList_->scrollToItem(item);
        stepList_->setFocus(Qt::OtherFocusReason);
    } else {
        EnableStepButtons(false);
        addAfterButton_->setFocus(Qt::OtherFocusReason);
    }
    OnStepsChanged();
}

}  // namespace tessaly
