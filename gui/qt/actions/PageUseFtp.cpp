#include "gui/qt/actions/PageUseFtp.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>

#include "actions/FtpTransfer.h"
#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/RunWhileBusy.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

namespace {

QLineEdit* MakeReadOnlyEdit(const QString& objectName, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    // Greyed like a read-only edit box, so it does not look like a place to type.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

// The bytes of a field, wiped before the conversion's buffer is given back.
std::string SecretBytes(const QString& text) {
    QByteArray bytes = text.toLatin1();
    std::string secret(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    bytes.fill('\0');
    return secret;
}

}  // namespace

CPageUseFTP::CPageUseFTP(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageUseFtp, QStringLiteral("Tessaly Wizard - FTP ")) {}

void CPageUseFTP::CreateControls() {
    hostNameEdit_ = MakeLatin1Edit(QStringLiteral("hostNameEdit"), this);
    userNameEdit_ = MakeLatin1Edit(QStringLiteral("userNameEdit"), this);
    passwordEdit_ = MakeLatin1Edit(QStringLiteral("passwordEdit"), this);
    passwordEdit_->setEchoMode(QLineEdit::Password);
    localFileEdit_ = MakeReadOnlyEdit(QStringLiteral("localFileEdit"), this);
    remoteFileEdit_ = MakeReadOnlyEdit(QStringLiteral("remoteFileEdit"), this);

    const std::pair<QString, QLineEdit*> fields[] = {
        {tr("&Host Name/Address"), hostNameEdit_}, {tr("&Username"), userNameEdit_},
        {tr("&Password"), passwordEdit_},          {tr("Local File"), localFileEdit_},
        {tr("Remote File *"), remoteFileEdit_},
    };
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const auto& [label, edit] : fields) {
        const QString name =
            edit->objectName().replace(QStringLiteral("Edit"), QStringLiteral("Label"));
        grid->addWidget(MakeBuddyLabel(label, edit, this, name), row, 0);
        grid->addWidget(edit, row++, 1);
        if (edit == passwordEdit_) {
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

    connect(hostNameEdit_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
}

void CPageUseFTP::OnSetActive() {
    const std::string& localPath = model().plan.Files.RtInf;
    localFileEdit_->setText(FromPath(localPath));
    remoteFileEdit_->setText(FromPath(RemoteRealTimeInfPath(localPath, sheet().separator())));
    UpdateButtons();
}

void CPageUseFTP::UpdateButtons() {
    sheet().SetWizardButtons(FtpPageButtons(hostNameEdit_->text().isEmpty()));
}

bool CPageUseFTP::OnWizardFinish() {
    const FtpLogin login{ToBytes(hostNameEdit_->text()), ToBytes(userNameEdit_->text()),
                         SecretBytes(passwordEdit_->text())};
    transferring_ = true;
    const bool copied =
        FinishFtpCopy(sheet().platform().ftp, login, ToPath(localFileEdit_->text()),
                      ToPath(remoteFileEdit_->text()), sheet().prompter(),
                      [this](const std::function<void()>& job) { RunWhileBusy(&sheet(), job); });
    transferring_ = false;
    return copied;
}

}  // namespace tessaly
