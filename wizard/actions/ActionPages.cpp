#include "wizard/actions/ActionPages.h"

#include <algorithm>
#include <iterator>

#include "actions/FtpTransfer.h"
#include "actions/InfInstaller.h"
#include "actions/PackageInstaller.h"
#include "platform/ForwardingPrompter.h"
#include "wizard/SheetPresenter.h"

namespace tessaly {
namespace {

// The radio buttons in the order of the choices.
constexpr ControlId kChoices[] = {kInstallChoice, kFtpChoice, kOpenFolderChoice, kNothingChoice};

// Notes a question answered No: a certificate the user declined to trust is no failure to report.
class DeclineWatch final : public ForwardingPrompter {
public:
    explicit DeclineWatch(Prompter& target) : target_(target) {}
    bool AskYesNo(const std::string& text) override {
        const bool yes = target_.AskYesNo(text);
        declined = declined || !yes;
        return yes;
    }

    bool declined = false;

protected:
    Prompter& Target() override { return target_; }

private:
    Prompter& target_;
};

}  // namespace

PageAfterSaveActionPresenter::PageAfterSaveActionPresenter(SheetPresenter& sheet)
    : PagePresenter(sheet, kPageAfterSaveAction, "Tessaly Wizard - Installation Options") {}

void PageAfterSaveActionPresenter::OnInitDialog() {
    view().SetChecked(kChoices[choice_], true);
}

void PageAfterSaveActionPresenter::OnSetActive() {
    const WizardServices& s = services();
    const bool ftp = DetectRealTimeProductOrUnconfigured(s.detector, s.registryConfigured,
                                                         s.platform.registry, s.platform.files) &&
                     model().device.BusType == Bus::PxiPci;
    view().SetEnabled(kFtpChoice, ftp);
    // Page 8 is for PXI/PCI only: a choice no longer offered gives way to the default.
    if (!ftp && choice_ == kAfterSaveFtp) {
        choice_ = kAfterSaveInstall;
        view().SetChecked(kChoices[choice_], true);
    }
    Choose(choice_);
}

void PageAfterSaveActionPresenter::OnChecked(ControlId control, bool checked) {
    const auto found = std::find(std::begin(kChoices), std::end(kChoices), control);
    if (checked && found != std::end(kChoices)) {
        Choose(static_cast<int>(found - std::begin(kChoices)));
    }
}

void PageAfterSaveActionPresenter::Choose(int choice) {
    choice_ = choice;
    sheet().SetButtons(AfterSavePageButtons(choice_));
}

bool PageAfterSaveActionPresenter::OnWizardFinish() {
    const WizardServices& s = services();
    switch (choice_) {
        case kAfterSaveInstall:
            if (const std::optional<DriverPackage>& package = model().plan.Package) {
                InstallPackage(*package);
                break;
            }
            WarnIfSeedInfIsIgnored(s.platform.driverStore, s.prompter);
            // The page reports nothing: a failed installation leaves no message, and the
            // wizard closes with the files written.
            s.dialogs.WithWaitCursor(
                [&] { InstallInf(model().plan, model().device.BusType, s.platform); });
            break;
        case kAfterSaveOpenFolder:
            s.platform.shell.OpenFolder(model().device.OutputDirectory);
            break;
        default:
            break;
    }
    return true;
}

void PageAfterSaveActionPresenter::InstallPackage(const DriverPackage& package) {
    const WizardServices& s = services();
    // The package takes the seed INF's place, as a script's --install does: 64-bit Windows
    // ignores that INF. Unlike the INF's, a failure is said: the package is this program's own.
    DeclineWatch watch(s.prompter);
    bool installed = false;
    s.dialogs.WithWaitCursor([&] {
        installed = InstallDriverPackage(package, s.platform.driverStore, watch, TrustConsent::Ask);
    });
    if (!installed && !watch.declined) {
        s.prompter.ShowMessage(std::string(kPackageNotInstalled), MessageIcon::Stop);
    }
}

PageUseFtpPresenter::PageUseFtpPresenter(SheetPresenter& sheet)
    : PagePresenter(sheet, kPageUseFtp, "Tessaly Wizard - FTP ") {}

PageUseFtpPresenter::~PageUseFtpPresenter() {
    WipeSecret(password_);
}

std::string PageUseFtpPresenter::RemotePath() const {
    return RemoteRealTimeInfPath(model().plan.Files.RtInf, services().platform.files.Separator());
}

void PageUseFtpPresenter::OnSetActive() {
    view().SetText(kLocalFileEdit, model().plan.Files.RtInf);
    view().SetText(kRemoteFileEdit, RemotePath());
    sheet().SetButtons(FtpPageButtons(host_.empty()));
}

void PageUseFtpPresenter::OnTextChanged(ControlId control, const std::string& text) {
    switch (control) {
        case kHostNameEdit:
            host_ = text;
            sheet().SetButtons(FtpPageButtons(host_.empty()));
            break;
        case kUserNameEdit:
            user_ = text;
            break;
        case kPasswordEdit:
            WipeSecret(password_);
            password_ = text;
            break;
        default:
            break;
    }
}

bool PageUseFtpPresenter::OnWizardFinish() {
    const WizardServices& s = services();
    const FtpLogin login{host_, user_, password_};
    transferring_ = true;
    const bool copied =
        FinishFtpCopy(s.platform.ftp, login, model().plan.Files.RtInf, RemotePath(), s.prompter,
                      [&s](const std::function<void()>& job) { s.dialogs.RunWhileBusy(job); });
    transferring_ = false;
    return copied;
}

}  // namespace tessaly
