#include "gui/qt/actions/PageUseFtp.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {

namespace {

QLineEdit* MakePasswordEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QLineEdit* MakeReadOnlyEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    // Greyed like a read-only edit box, so it does not look like a place to type.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

}  // namespace

void CPageUseFTP::CreateControls() {
    const std::tuple<ControlId, QString, QLineEdit*, const char*> fields[] = {
        {kHostNameEdit, tr("&Host Name/Address"), new QLineEdit(this), "hostNameLabel"},
        {kUserNameEdit, tr("&Username"), new QLineEdit(this), "userNameLabel"},
        {kPasswordEdit, tr("&Password"), MakePasswordEdit(this), "passwordLabel"},
        {kLocalFileEdit, tr("Local File"), MakeReadOnlyEdit(this), "localFileLabel"},
        {kRemoteFileEdit, tr("Remote File *"), MakeReadOnlyEdit(this), "remoteFileLabel"},
    };
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const auto& [control, label, edit, labelName] : fields) {
        Bind(control, edit);
        grid->addWidget(MakeBuddyLabel(label, edit, this, QString::fromLatin1(labelName)), row, 0);
        grid->addWidget(edit, row++, 1);
        if (control == kPasswordEdit) {
            grid->setRowMinimumHeight(row++, DialogUnitsY(this, 6));
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("This wizard will now copy the generated Vantorix RT .INF file (Local file) to a "
           "machine "
           "on the network using FTP. Please specify the host name, username and the password, "
           "and click 'Finish'. "),
        this, QStringLiteral("introText")));
    layout->addWidget(MakeText(tr("Leave username and password blank to FTP anonymously. The "
                                  "location of the remote file is specified below."),
                               this, QStringLiteral("hintText")));
    layout->addSpacing(DialogUnitsY(this, 6));
    layout->addLayout(grid);
    layout->addSpacing(DialogUnitsY(this, 6));
    layout->addWidget(MakeText(tr("* Warning: This will overwrite the file if it exists."), this,
                               QStringLiteral("warningText")));
    layout->addStretch(1);
}

}  // namespace tessaly
