#pragma once

#include <optional>
#include <string>

#include "wizard/ControlPresenter.h"
#include "wizard/PageFlow.h"
#include "wizard/PageIds.h"
#include "wizard/WizardModel.h"

namespace tessaly {

class SheetPresenter;
struct WizardServices;

// One page of the sheet: its working state and every rule of it. The sheet calls the page's
// handlers in the order a property sheet does; the page reaches the sheet's model and services,
// and the other pages, through the sheet.
class PagePresenter : public ControlPresenter {
public:
    PagePresenter(SheetPresenter& sheet, PageId id, std::string title);

    PageId id() const { return static_cast<PageId>(dialog()); }
    // The title the sheet shows while the page is active, unless the page sets another.
    const std::string& title() const { return title_; }

    // The page became the active one: its wizard buttons and what it shows anew.
    virtual void OnSetActive();
    // A sheet button was pressed while `focused` had the keyboard focus: finish what leaving it
    // would do, so that Enter in a field acts as a click on the button does.
    virtual void CommitEditing(std::optional<ControlId> focused);
    virtual NavAnswer OnWizardNext() { return NavAnswer::Default(); }
    virtual NavAnswer OnWizardBack() { return NavAnswer::Default(); }
    // True closes the wizard.
    virtual bool OnWizardFinish() { return true; }
    // True lets Cancel close the wizard.
    virtual bool OnQueryCancel() { return true; }
    // Puts the focus where it waits on activation when Next and Finish are not available; false
    // leaves it to the first control in tab order.
    virtual bool FocusWithoutNext() { return false; }

protected:
    SheetPresenter& sheet() const { return sheet_; }
    WizardModel& model() const;
    const WizardServices& services() const;

private:
    SheetPresenter& sheet_;
    std::string title_;
};

}  // namespace tessaly
