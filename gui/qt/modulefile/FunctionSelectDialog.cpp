#include "gui/qt/modulefile/FunctionSelectDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt/ContextHelp.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

QStringList CFunctionSelectDialog::ItemsFromList(const std::string& functionList) {
    QStringList items;
    std::size_t start = 0;
    for (std::size_t end = functionList.find(';'); end != std::string::npos;
         end = functionList.find(';', start)) {
        items.append(FromBytes(functionList.substr(start, end - start)));
        start = end + 1;
    }
    return items;
}

CFunctionSelectDialog::CFunctionSelectDialog(const std::string& functionList, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("functionSelectDialog"));
    setWindowTitle(tr("ZEL-VISA PXI Combination Module Device Selection"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    functions_ = new QComboBox(this);
    functions_->setObjectName(QStringLiteral("functionCombo"));
    functions_->setEditable(false);
    functions_->addItems(ItemsFromList(functionList));
    functions_->setCurrentIndex(0);
    connect(functions_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            position_ = index;
        }
    });

    auto* label =
        new QLabel(tr("Functions of this module that can be registered with VISA:"), this);
    label->setObjectName(QStringLiteral("functionsLabel"));
    label->setBuddy(functions_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(tr("OK"));
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(tr("Cancel"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("The module description file you have selected describes a combination module with "
           "multiple devices or functions or both.  Please select one of the functions using the "
           "drop down list below."),
        this, QStringLiteral("combinationText")));
    layout->addWidget(MakeSeparator(this));
    layout->addWidget(label);
    layout->addWidget(functions_);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumSize(DialogUnitsX(this, 224), DialogUnitsY(this, 102));
    InstallContextHelp(this, QStringLiteral("dialog129.html"));
}

}  // namespace tessaly
