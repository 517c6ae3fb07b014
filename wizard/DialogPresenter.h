#pragma once

#include "wizard/ControlPresenter.h"

namespace tessaly {

// A modal dialog with OK and Cancel: Cancel closes it at once, OK when the dialog accepts what
// its controls hold.
class DialogPresenter : public ControlPresenter {
public:
    using ControlPresenter::ControlPresenter;

    void OnClicked(ControlId control) override;

protected:
    // OK was pressed: true closes the dialog with OK.
    virtual bool Accept() { return true; }
};

}  // namespace tessaly
