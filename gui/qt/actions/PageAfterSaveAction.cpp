#include "gui/qt/actions/PageAfterSaveAction.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {

void CPageAfterSaveAction::CreateControls() {
    const std::pair<ControlId, QString> choices[] = {
        {kInstallChoice,
         tr("&Install the setup information file for this operating system for me.")},
        {kFtpChoice, tr("&FTP the setup information file to a Vantorix RT system on the network.")},
        {kOpenFolderChoice, tr("&Take me to the folder containing the generated files.")},
        {kNothingChoice, tr("Do &nothing more and exit the wizard.")},
    };
    auto* group = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeText(
        tr("The information you provided has been parsed and the resulting setup information "
           "files have been placed in your VXIpnp directory."),
        this, QStringLiteral("parsedText")));
    layout->addSpacing(DialogUnitsY(this, 6));
    for (const auto& [control, text] : choices) {
        auto* choice = new QRadioButton(text, this);
        group->addButton(choice);
        Bind(control, choice);
        layout->addWidget(choice);
    }
    layout->addSpacing(DialogUnitsY(this, 6));
    layout->addWidget(MakeText(
        tr("The option to FTP the appropriate file to a Vantorix RT system is available only if "
           "you are generating a PXI/PCI file and have Vantorix RT installed.  If you choose this "
           "option, you will specify the FTP parameters on the next page of the wizard."),
        this, QStringLiteral("ftpNoteText")));
    layout->addStretch(1);
}

}  // namespace tessaly
