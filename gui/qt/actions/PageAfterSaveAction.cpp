#include "gui/qt/actions/PageAfterSaveAction.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "actions/InfInstaller.h"
#include "gui/qt/GatherIntrInfo.h"
#include "gui/qt/WaitCursor.h"
#include "gui/qt/WidgetSupport.h"

namespace tessaly {

CPageAfterSaveAction::CPageAfterSaveAction(CGatherIntrInfo& sheet)
    : CWizardPage(sheet, kPageAfterSaveAction,
                  QStringLiteral("Tessaly Wizard - Installation Options")) {}

void CPageAfterSaveAction::CreateControls() {
    const std::array<std::pair<QString, QString>, 4> texts = {{
        {tr("&Install the setup information file for this operating system for me."),
         QStringLiteral("installChoice")},
        {tr("&FTP the setup information file to a Vantorix RT system on the network."),
         QStringLiteral("ftpChoice")},
        {tr("&Take me to the folder containing the generated files."),
         QStringLiteral("openFolderChoice")},
        {tr("Do &nothing more and exit the wizard."), QStringLiteral("nothingChoice")},
    }};
    auto* group = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("The information you provided has been parsed and the resulting setup information "
           "files have been placed in your VXIpnp directory."),
        this, QStringLiteral("parsedText")));
    layout->addSpacing(DialogUnitsY(this, 6));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        choices_[i] = new QRadioButton(texts[i].first, this);
        choices_[i]->setObjectName(texts[i].second);
        group->addButton(choices_[i], static_cast<int>(i));
        layout->addWidget(choices_[i]);
        connect(choices_[i], &QRadioButton::clicked, this, [this] { UpdateButtons(); });
    }
    layout->addSpacing(DialogUnitsY(this, 6));
    layout->addWidget(MakeText(
        tr("The option to FTP the appropriate file to a Vantorix RT system is available only if "
           "you are generating a PXI/PCI file and have Vantorix RT installed.  If you choose this "
           "option, you will specify the FTP parameters on the next page of the wizard."),
        this, QStringLiteral("ftpNoteText")));
    layout->addStretch(1);
}

void CPageAfterSaveAction::DoDataExchange(bool save) {
    if (save) {
        afterSaveAction_ = CheckedChoice();
    } else if (afterSaveAction_ >= 0 && afterSaveAction_ < static_cast<int>(choices_.size())) {
        choices_[static_cast<std::size_t>(afterSaveAction_)]->setChecked(true);
    }
}

int CPageAfterSaveAction::CheckedChoice() const {
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i]->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return afterSaveAction_;
}

void CPageAfterSaveAction::OnSetActive() {
    const Platform& platform = sheet().platform();
    const bool realTime = DetectRealTimeProductOrUnconfigured(
        sheet().detector(), sheet().registryConfigured(), platform.registry, platform.files);
    choices_[kAfterSaveFtp]->setEnabled(realTime && model().device.BusType == kBusPxi);
    UpdateButtons();
}

void CPageAfterSaveAction::UpdateButtons() {
    sheet().SetWizardButtons(AfterSavePageButtons(CheckedChoice()));
}

NavAnswer CPageAfterSaveAction::OnWizardNext() {
    UpdateData(true);
    return NavAnswer::Default();
}

bool CPageAfterSaveAction::OnWizardFinish() {
    UpdateData(true);
    switch (afterSaveAction_) {
        case kAfterSaveInstall: {
            const WaitCursor busy;
            InstallInf(model(), sheet().platform());  // a failure is not reported here
            break;
        }
        case kAfterSaveOpenFolder:
            sheet().platform().shell.OpenFolder(model().device.OutputDirectory);
            break;
        default:
            break;
    }
    return true;
}

}  // namespace tessaly
