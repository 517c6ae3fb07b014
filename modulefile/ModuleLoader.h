#pragma once

#include <string>

#include "app/WizardModel.h"
#include "platform/Prompter.h"

namespace tessaly {

// Loads one function of a Module Description File into the model: the PXI/PCI values, the
// interrupt steps and the prefix; sets the plan's bus to PXI/PCI and RefreshOnActivate.
// Returns 0 when a function was loaded, 1 when nothing was (the model is then unchanged).
// A file without a "Module" section shows its message; a combination module asks the prompter
// to choose a function.
int LoadModuleDescriptionFile(WizardModel& model, const std::string& path, Prompter& prompter);

}  // namespace tessaly
