#pragma once

#include "device/DeviceDescription.h"
#include "output/OutputPlan.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"

namespace tessaly {

// Where a generation takes its directory from.
enum class GenerationSource {
    // Started with the sheet (unattended start-up, PXI/PCI page after a load): recompute the
    // default directory, discarding one chosen earlier, and write the PXI/PCI set (the bus
    // becomes PXI/PCI).
    DefaultDirectory,
    // Started from the output page: the page has copied its fields into the description; its
    // bus decides the set.
    OutputPage,
};

// Returns true when the directory can be written to: the first file of the plan could be
// saved there, or the directory was created (after asking, unless `createWithoutAsking`).
bool PrepareOutputDirectory(const DeviceDescription& device, const OutputPlan& plan,
                            FileSystem& files, Prompter& prompter, bool createWithoutAsking);

// Prepares the directory, empties HardwareIds and WrittenFiles and runs the writers in their
// fixed order, recording each file saved whole.
// Returns 0 on success, 1 when the prefix breaks the prefix rules (said in a message) or the
// directory was not available (nothing written either way). A writer
// that fails shows its own message and the run goes on.
int GenerateAll(DeviceDescription& device, OutputPlan& plan, const Platform& platform,
                Prompter& prompter, GenerationSource source, bool createWithoutAsking);

}  // namespace tessaly
