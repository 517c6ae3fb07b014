#pragma once

#include <string>

#include "device/DeviceDescription.h"
#include "output/OutputPlan.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"

namespace tessaly {

// The PXI Module Description File of the device, lines ended with CR LF.
std::string RenderModuleDescriptionFile(const DeviceDescription& device);

// Writes the file to plan.Files.ModuleFile, then copies it into the resource manager's
// "Hardware Descriptions/Modules" folder named through the registry. Reports its failures in
// messages and returns whether the file was written, so the generation goes on.
bool WriteModuleDescriptionFile(const DeviceDescription& device, const OutputPlan& plan,
                                const Platform& platform, Prompter& prompter);

}  // namespace tessaly
