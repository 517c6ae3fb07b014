#include "gui/qt/interrupts/StepEditorDialog.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <span>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"
#include "interrupts/StepEditorRules.h"

namespace tessaly {
namespace {

const QString kHelpPage = QStringLiteral("dialog106.html");

QComboBox* MakeList(std::span<const std::string_view> entries, const QString& objectName,
                    QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(objectName);
    list->setEditable(false);
    for (const std::string_view entry : entries) {
        list->addItem(FromBytes(std::string(entry)));
    }
    return list;
}

// The entry that begins with the text, or no selection at all.
void SelectByPrefix(QComboBox* list, std::span<const std::string_view> entries,
                    const std::string& text) {
    const auto index = FindEntryByPrefix(entries, text);
    list->setCurrentIndex(index ? static_cast<int>(*index) : -1);
}

std::string SelectedText(const QComboBox* list) {
    return list->currentIndex() >= 0 ? ToBytes(list->currentText()) : std::string();
}

QPushButton* MakeButton(const QString& text, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    return button;
}

}  // namespace

CStepEditorDialog::CStepEditorDialog(const StepEditorFields& fields, QWidget* parent)
    : QDialog(parent), fields_(fields) {
    setObjectName(QStringLiteral("stepEditorDialog"));
    setWindowTitle(tr("ZEL-VISA PXI Interrupt Information"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    // Created in tab order.
    accessCombo_ = MakeList(kEditorAccessTexts, QStringLiteral("accessCombo"), this);
    widthCombo_ = MakeList(kEditorWidthTexts, QStringLiteral("widthCombo"), this);
    spaceCombo_ = MakeList(kSpaceTexts, QStringLiteral("spaceCombo"), this);
    offsetEdit_ = MakeLatin1Edit(QStringLiteral("offsetEdit"), this);
    maskEdit_ = MakeLatin1Edit(QStringLiteral("maskEdit"), this);
    valueEdit_ = MakeLatin1Edit(QStringLiteral("valueEdit"), this);
    QPushButton* ok = MakeButton(tr("&OK"), QStringLiteral("okButton"), this);
    QPushButton* cancel = MakeButton(tr("&Cancel"), QStringLiteral("cancelButton"), this);
    QPushButton* help = MakeButton(tr("&Help"), QStringLiteral("helpButton"), this);
    ok->setDefault(true);

    auto* fieldsGrid = new QGridLayout;
    fieldsGrid->setHorizontalSpacing(DialogUnitsX(this, 10));
    const std::tuple<QString, QWidget*, const char*, int, int> labelled[] = {
        {tr("&Type of access"), accessCombo_, "accessLabel", 0, 0},
        {tr("&Width of access"), widthCombo_, "widthLabel", 0, 1},
        {tr("&Address space"), spaceCombo_, "spaceLabel", 2, 0},
        {tr("O&ffset within space"), offsetEdit_, "offsetLabel", 2, 1},
        {tr("Compare &mask"), maskEdit_, "maskLabel", 4, 0},
        {tr("&Value to write or compare"), valueEdit_, "valueLabel", 4, 1},
    };
    for (const auto& [text, control, name, row, column] : labelled) {
        fieldsGrid->addWidget(MakeBuddyLabel(text, control, this, QString::fromLatin1(name)), row,
                              column);
        fieldsGrid->addWidget(control, row + 1, column);
    }
    fieldsGrid->setColumnMinimumWidth(0, DialogUnitsX(this, 90));
    fieldsGrid->setColumnMinimumWidth(1, DialogUnitsX(this, 90));
    fieldsGrid->setRowMinimumHeight(3, DialogUnitsY(this, 14));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldsGrid);
    layout->addSpacing(DialogUnitsY(this, 7));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &CStepEditorDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CStepEditorDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { ShowHelpTopic(this, HelpTopicUrl(kHelpPage)); });
    connect(accessCombo_, &QComboBox::activated, this, &CStepEditorDialog::OnAccessChosen);
    connect(widthCombo_, &QComboBox::activated, this, &CStepEditorDialog::OnWidthChosen);
    accessCombo_->installEventFilter(this);
    widthCombo_->installEventFilter(this);

    InstallContextHelp(this, kHelpPage);

    MoveTextsIn();
    ApplyEnabling();
    Normalise();
}

void CStepEditorDialog::MoveTextsIn() {
    SelectByPrefix(accessCombo_, kEditorAccessTexts, fields_.Access);
    SelectByPrefix(widthCombo_, kEditorWidthTexts, fields_.Width);
    SelectByPrefix(spaceCombo_, kSpaceTexts, fields_.Space);
    ShowValue(offsetEdit_, fields_.Offset);
    ShowValue(maskEdit_, fields_.Mask);
    ShowValue(valueEdit_, fields_.Value);
}

void CStepEditorDialog::MoveTextsOut() {
    fields_.Access = SelectedText(accessCombo_);
    fields_.Width = SelectedText(widthCombo_);
    fields_.Space = SelectedText(spaceCombo_);
    fields_.Offset = ToBytes(offsetEdit_->text());
    fields_.Mask = ToBytes(maskEdit_->text());
    fields_.Value = ToBytes(valueEdit_->text());
}

void CStepEditorDialog::ApplyEnabling() {
    if (const auto enabling = EnablingForAccess(fields_.Access)) {
        maskEdit_->setEnabled(enabling->mask);
        valueEdit_->setEnabled(enabling->value);
    }
}

void CStepEditorDialog::Normalise() {
    fields_ = NormaliseStepNumbers(fields_);
    MoveTextsIn();
}

void CStepEditorDialog::OnAccessChosen() {
    MoveTextsOut();
    ApplyEnabling();
}

void CStepEditorDialog::OnWidthChosen() {
    MoveTextsOut();
    Normalise();
}

void CStepEditorDialog::accept() {
    MoveTextsOut();
    ApplyEnabling();
    Normalise();
    QDialog::accept();
}

bool CStepEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // The list's own popup, or another window, taking the focus is not leaving the list.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (watched == accessCombo_) {
                OnAccessChosen();
            } else if (watched == widthCombo_) {
                OnWidthChosen();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessaly
