#include "wizard/PagePresenter.h"

#include <utility>

#include "wizard/SheetPresenter.h"

namespace tessaly {

PagePresenter::PagePresenter(SheetPresenter& sheet, PageId id, std::string title)
    : ControlPresenter(id), sheet_(sheet), title_(std::move(title)) {}

void PagePresenter::OnSetActive() {
    sheet_.SetButtons(kButtonBack | kButtonNext);
}

void PagePresenter::CommitEditing(std::optional<ControlId> focused) {
    if (focused && attached()) {
        OnFocusLeft(*focused);
    }
}

WizardModel& PagePresenter::model() const {
    return sheet_.model();
}

const WizardServices& PagePresenter::services() const {
    return sheet_.services();
}

}  // namespace tessaly
