#include "gui/qt/modulefile/FunctionSelectDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CFunctionSelectDialog::CFunctionSelectDialog(FunctionSelectPresenter& presenter, QWidget* parent)
    : QDialog(parent), view_(presenter, this) {
    setObjectName(QStringLiteral("functionSelectDialog"));
    setWindowTitle(tr("ZEL-VISA PXI Combination Module Device Selection"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* functions = new QComboBox(this);
    functions->setEditable(false);
    view_.Bind(kFunctionCombo, functions);
    auto* label =
        new QLabel(tr("Functions of this module that can be registered with VISA:"), this);
    label->setObjectName(QStringLiteral("functionsLabel"));
    label->setBuddy(functions);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(tr("OK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(tr("Cancel"));
    view_.Bind(kOkButton, ok);
    view_.Bind(kCancelButton, cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("The module description file you have selected describes a combination module with "
           "multiple devices or functions or both.  Please select one of the functions using the "
           "drop down list below."),
        this, QStringLiteral("combinationText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(label);
    layout->addWidget(functions);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumSize(DialogUnitsX(this, 224), DialogUnitsY(this, 102));
    InstallContextHelp(this, QStringLiteral("dialog129.html"));
    presenter.Attach(view_);
}

}  // namespace tessaly
