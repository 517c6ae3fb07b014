#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wizard/PagePresenter.h"
#include "wizard/SheetView.h"
#include "wizard/WizardServices.h"

namespace tessaly {

// The wizard sheet: the eight pages in order, the active one, its buttons and title, and the
// order in which a press of Back, Next, Finish or Cancel reaches the page. A view shows the page
// the presenter names:
//  1. it creates the page's controls the first time (and calls Attach on the page's presenter),
//     shows the page and calls Activated;
//  2. it passes each sheet button to Next, Back, Finish or Cancel with the control that has the
//     focus, and shows the page Next or Back answer, or closes when Finish or Cancel says so.
// A Win32 property sheet does the same: PSN_SETACTIVE calls Activated, PSN_WIZNEXT and
// PSN_WIZBACK return the page Next and Back answer (-1 to stay), PSN_WIZFINISH and PSN_QUERYCANCEL
// ask Finish and Cancel.
class SheetPresenter {
public:
    SheetPresenter(WizardModel& model, const WizardServices& services, PageId start = kPageWelcome);
    ~SheetPresenter();

    void Attach(SheetView& view) { view_ = &view; }

    // The pages in sheet order.
    const std::vector<std::unique_ptr<PagePresenter>>& pages() const { return pages_; }
    PagePresenter& Page(PageId id) const;
    PageId ActivePage() const { return pages_[current_]->id(); }

    // The view shows `id` now: its title, its buttons, where the focus goes.
    void Activated(PageId id);
    // The page the sheet opens at.
    PageId StartPage() const { return start_; }

    // The sheet's buttons; `focused` is the page's control that had the keyboard focus. Next and
    // Back answer the page to show, or nullopt to stay; Finish and Cancel whether the wizard
    // closes. A button that is not offered does nothing.
    std::optional<PageId> Next(std::optional<ControlId> focused);
    std::optional<PageId> Back(std::optional<ControlId> focused);
    bool Finish(std::optional<ControlId> focused);
    bool Cancel();

    // For the pages.
    void SetButtons(unsigned flags);
    unsigned buttons() const { return buttons_; }
    void SetTitle(const std::string& title);
    WizardModel& model() const { return model_; }
    const WizardServices& services() const { return services_; }
    template <typename T>
    T& PageAs(PageId id) const {
        return static_cast<T&>(Page(id));
    }

private:
    bool FinishShown() const { return (buttons_ & (kButtonFinish | kButtonDisabledFinish)) != 0; }
    std::optional<PageId> Leave(std::optional<ControlId> focused, bool forward);

    WizardModel& model_;
    WizardServices services_;
    SheetView* view_ = nullptr;
    std::vector<std::unique_ptr<PagePresenter>> pages_;
    PageId start_;
    std::size_t current_ = 0;
    unsigned buttons_ = 0;
};

}  // namespace tessaly
