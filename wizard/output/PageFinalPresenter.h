#pragma once

#include "wizard/PagePresenter.h"

namespace tessaly {

// Page 6: the instrument prefix, the output directory and the files the generation writes. The
// title, the prefix label and the note follow the bus; the directory follows the prefix while
// it has its default form; the list shows every path Next writes and, under it, what INF
// readers will misread. When asked, Next also writes a signed driver package after the files.
class PageFinalPresenter final : public PagePresenter {
public:
    explicit PageFinalPresenter(SheetPresenter& sheet);

    void OnSetActive() override;
    NavAnswer OnWizardNext() override;
    NavAnswer OnWizardBack() override;
    // The prefix is checked by Next itself, so leaving it for a sheet button shows no message.
    void CommitEditing(std::optional<ControlId>) override {}

    void OnTextChanged(ControlId control, const std::string& text) override;
    void OnFocusLeft(ControlId control) override;
    void OnClicked(ControlId control) override;
    void OnChecked(ControlId control, bool checked) override;

protected:
    void OnInitDialog() override;

private:
    void RunValidatePrefix();
    void RefreshFileList();
    bool WritePackage();

    bool writePackage_ = false;  // kept while the wizard runs, like the page's fields
};

}  // namespace tessaly
