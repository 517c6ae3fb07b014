#pragma once

#include <string>

namespace tessaly {

// The wizard buttons a page asks for; Finish and disabled Finish take Next's place.
enum WizardButton : unsigned {
    kButtonBack = 1u << 0,
    kButtonNext = 1u << 1,
    kButtonFinish = 1u << 2,
    kButtonDisabledFinish = 1u << 3,
};

// The sheet around the pages as its presenter sees it: the window title and the wizard buttons
// (Help and Cancel are always there). The view shows the page SheetPresenter names, creating its
// controls the first time, and tells the presenter when it is on screen.
class SheetView {
public:
    virtual ~SheetView() = default;

    virtual void SetTitle(const std::string& title) = 0;
    // Back, Next, Finish or disabled Finish (WizardButton flags), as PropSheet_SetWizButtons
    // takes them.
    virtual void SetButtons(unsigned flags) = 0;

    // Where the keyboard focus goes when a page opens: the enabled Next or Finish button, so
    // that Enter goes on at once, or the first control of the page in tab order. (A particular
    // control is focused through the page's ControlView.)
    virtual void FocusForwardButton() = 0;
    virtual void FocusFirstControl() = 0;
};

}  // namespace tessaly
