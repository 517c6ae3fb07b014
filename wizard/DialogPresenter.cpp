#include "wizard/DialogPresenter.h"

namespace tessaly {

void DialogPresenter::OnClicked(ControlId control) {
    if (control == kOkButton && Accept()) {
        view().Close(true);
    } else if (control == kCancelButton) {
        view().Close(false);
    }
}

}  // namespace tessaly
