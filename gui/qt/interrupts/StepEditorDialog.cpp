#include "gui/qt/interrupts/StepEditorDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CStepEditorDialog::CStepEditorDialog(StepEditorPresenter& presenter, QWidget* parent)
    : QDialog(parent), view_(presenter, this) {
    setObjectName(QStringLiteral("stepEditorDialog"));
    setWindowTitle(tr("ZEL-VISA PXI Interrupt Information"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    // Created in tab order.
    const std::tuple<ControlId, QString, QWidget*, const char*, int, int> labelled[] = {
        {kAccessCombo, tr("&Type of access"), new QComboBox(this), "accessLabel", 0, 0},
        {kWidthCombo, tr("&Width of access"), new QComboBox(this), "widthLabel", 0, 1},
        {kSpaceCombo, tr("&Address space"), new QComboBox(this), "spaceLabel", 2, 0},
        {kOffsetEdit, tr("O&ffset within space"), new QLineEdit(this), "offsetLabel", 2, 1},
        {kMaskEdit, tr("Compare &mask"), new QLineEdit(this), "maskLabel", 4, 0},
        {kValueEdit, tr("&Value to write or compare"), new QLineEdit(this), "valueLabel", 4, 1},
    };
    QPushButton* ok = MakeButton(tr("&OK"), {}, this);
    QPushButton* cancel = MakeButton(tr("&Cancel"), {}, this);
    QPushButton* help = MakeButton(tr("&Help"), QStringLiteral("helpButton"), this);
    ok->setDefault(true);

    auto* fieldsGrid = new QGridLayout;
    fieldsGrid->setHorizontalSpacing(DialogUnitsX(this, 10));
    for (const auto& [control, text, widget, name, row, column] : labelled) {
        view_.Bind(control, widget);
        fieldsGrid->addWidget(MakeBuddyLabel(text, widget, this, QString::fromLatin1(name)), row,
                              column);
        fieldsGrid->addWidget(widget, row + 1, column);
    }
    view_.Bind(kOkButton, ok);
    view_.Bind(kCancelButton, cancel);
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

    const QString helpPage = QStringLiteral("dialog106.html");
    connect(help, &QPushButton::clicked, this,
            [this, helpPage] { ShowHelpTopic(this, HelpTopicUrl(helpPage)); });
    InstallContextHelp(this, helpPage);
    presenter.Attach(view_);
}

}  // namespace tessaly
