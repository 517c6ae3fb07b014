#include "wizard/SheetPresenter.h"

#include <algorithm>

#include "wizard/actions/ActionPages.h"
#include "wizard/device/DevicePages.h"
#include "wizard/interrupts/StepPages.h"
#include "wizard/output/PageFinalPresenter.h"

namespace tessaly {

SheetPresenter::SheetPresenter(WizardModel& model, const WizardServices& services, PageId start)
    : model_(model), services_(services), start_(start) {
    pages_.push_back(std::make_unique<PageWelcomePresenter>(*this));
    pages_.push_back(std::make_unique<PageWelcomePxiPresenter>(*this));
    pages_.push_back(std::make_unique<PageWelcomeUsbPresenter>(*this));
    pages_.push_back(std::make_unique<PageIsMinePresenter>(*this));
    pages_.push_back(std::make_unique<PageSquelchPresenter>(*this));
    pages_.push_back(std::make_unique<PageFinalPresenter>(*this));
    pages_.push_back(std::make_unique<PageAfterSaveActionPresenter>(*this));
    pages_.push_back(std::make_unique<PageUseFtpPresenter>(*this));
}

SheetPresenter::~SheetPresenter() = default;

PagePresenter& SheetPresenter::Page(PageId id) const {
    const auto found = std::find_if(pages_.begin(), pages_.end(),
                                    [id](const auto& page) { return page->id() == id; });
    return found != pages_.end() ? **found : *pages_.front();
}

void SheetPresenter::Activated(PageId id) {
    if (const auto index = ResolveAnswer(kPageOrder, current_, NavAnswer::To(id), true)) {
        current_ = *index;
    }
    PagePresenter& page = *pages_[current_];
    SetTitle(page.title());
    page.OnSetActive();
    // Enter goes on at once, and no field is left (and so normalised) without being touched.
    const bool forward =
        FinishShown() ? (buttons_ & kButtonFinish) != 0 : (buttons_ & kButtonNext) != 0;
    if (!view_) {
        return;
    }
    if (forward) {
        view_->FocusForwardButton();
    } else if (!page.FocusWithoutNext()) {
        view_->FocusFirstControl();
    }
}

std::optional<PageId> SheetPresenter::Leave(std::optional<ControlId> focused, bool forward) {
    PagePresenter& page = *pages_[current_];
    page.CommitEditing(focused);
    const NavAnswer answer = forward ? page.OnWizardNext() : page.OnWizardBack();
    const auto index = ResolveAnswer(kPageOrder, current_, answer, forward);
    return index ? std::optional(pages_[*index]->id()) : std::nullopt;
}

std::optional<PageId> SheetPresenter::Next(std::optional<ControlId> focused) {
    if (FinishShown() || (buttons_ & kButtonNext) == 0) {
        return std::nullopt;
    }
    return Leave(focused, true);
}

std::optional<PageId> SheetPresenter::Back(std::optional<ControlId> focused) {
    if ((buttons_ & kButtonBack) == 0) {
        return std::nullopt;
    }
    return Leave(focused, false);
}

bool SheetPresenter::Finish(std::optional<ControlId> focused) {
    if (!FinishShown() || (buttons_ & kButtonFinish) == 0) {
        return false;
    }
    PagePresenter& page = *pages_[current_];
    page.CommitEditing(focused);
    return page.OnWizardFinish();
}

bool SheetPresenter::Cancel() {
    return pages_[current_]->OnQueryCancel();
}

void SheetPresenter::SetButtons(unsigned flags) {
    buttons_ = flags;
    if (view_) {
        view_->SetButtons(flags);
    }
}

void SheetPresenter::SetTitle(const std::string& title) {
    if (view_) {
        view_->SetTitle(title);
    }
}

}  // namespace tessaly
