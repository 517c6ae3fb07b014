#pragma once

#include <string>

#include "output/package/DriverPackage.h"
#include "wizard/PagePresenter.h"

namespace tessaly {

// Page 7: what to do with the generated files. The FTP choice is offered for PXI/PCI with the
// real-time product only, and leads on to page 8; Finish does any other choice and closes.
// Installing takes the driver package when page 6 wrote one with the files.
class PageAfterSaveActionPresenter final : public PagePresenter {
public:
    explicit PageAfterSaveActionPresenter(SheetPresenter& sheet);

    void OnSetActive() override;
    bool OnWizardFinish() override;
    void OnChecked(ControlId control, bool checked) override;

    // The chosen action: kAfterSaveInstall to kAfterSaveNothing.
    int choice() const { return choice_; }

protected:
    void OnInitDialog() override;

private:
    void Choose(int choice);
    void InstallPackage(const DriverPackage& package);

    int choice_ = kAfterSaveInstall;
};

// Page 8: copies the real-time INF to a real-time target over FTP. The entries stay with the
// page while the wizard runs, so Back and Next keep them.
class PageUseFtpPresenter final : public PagePresenter {
public:
    explicit PageUseFtpPresenter(SheetPresenter& sheet);
    ~PageUseFtpPresenter() override;

    void OnSetActive() override;
    bool OnWizardFinish() override;
    // Nothing may close the wizard while a transfer runs on its values.
    bool OnQueryCancel() override { return !transferring_; }
    void OnTextChanged(ControlId control, const std::string& text) override;

private:
    std::string RemotePath() const;

    std::string host_;
    std::string user_;
    std::string password_;
    bool transferring_ = false;
};

}  // namespace tessaly
