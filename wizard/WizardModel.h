#pragma once

#include "device/DeviceDescription.h"
#include "output/OutputPlan.h"

namespace tessaly {

// The values the wizard sheet holds for its pages: what the generation, the loader and the
// installation read and set through the sheet.
struct WizardModel {
    DeviceDescription device;
    OutputPlan plan;
    // The detection page rebuilds its lists from DetectSequences on its next activation: set
    // when the sheet starts and by a load on the PXI/PCI page.
    bool RefreshOnActivate = true;
};

}  // namespace tessaly
