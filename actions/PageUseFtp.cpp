#include "actions/PageUseFtp.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/GatherIntrInfo.h"
#include "app/WidgetSupport.h"

namespace tessaly {

CPageUseFTP::CPageUseFTP(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageUseFtp, QStringLiteral("Tessaly Wizard - FTP ")) {}

void CPageUseFTP::CreateControls() {
    hostNameEdit_ = MakeLatin1Edit(QStringLiteral("hostNameEdit"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeBuddyLabel(tr("&Host Name/Address"), hostNameEdit_, this,
                                     QStringLiteral("hostNameLabel")));
    layout->addWidget(hostNameEdit_);
    layout->addStretch(1);
    connect(hostNameEdit_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
}

void CPageUseFTP::OnSetActive() {
    UpdateButtons();
}

void CPageUseFTP::UpdateButtons() {
    sheet().SetWizardButtons(FtpPageButtons(hostNameEdit_->text().isEmpty()));
}

bool CPageUseFTP::OnWizardFinish() {
    // No transfer yet, so the wizard stays open.
    return false;
}

}  // namespace tessaly
