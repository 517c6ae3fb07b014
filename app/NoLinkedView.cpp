#include "wizard/GuiModule.h"

namespace tessaly {

// The Qt view is a module the program loads on first need.
GuiModuleEntry LinkedGuiModule() {
    return nullptr;
}

}  // namespace tessaly
