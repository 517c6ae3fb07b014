#pragma once

#include <string>
#include <vector>

#include "device/DeviceDescription.h"
#include "output/OutputPlan.h"

namespace tessaly {

class FileSystem;
class Prompter;

// Each Render function gives the whole file, lines ended with CR LF; each Write function saves
// it at its path in the plan, shows its own message (exclamation icon) when the file cannot be
// saved whole, and returns whether it was, so the generation goes on.

std::string RenderRtInf(const DeviceDescription& device);
std::string Render9xInf(const DeviceDescription& device);
std::string RenderNt4Inf(const DeviceDescription& device);
// Appends the Plug and Play hardware IDs the file names, in writing order.
std::string RenderNt5Inf(const DeviceDescription& device, std::vector<std::string>& hardwareIds);
std::string RenderWdmInf(const DeviceDescription& device, std::vector<std::string>& hardwareIds);

bool WriteRtInf(const DeviceDescription& device, const OutputPlan& plan, FileSystem& files,
                Prompter& prompter);
bool Write9xInf(const DeviceDescription& device, const OutputPlan& plan, FileSystem& files,
                Prompter& prompter);
bool WriteNt4Inf(const DeviceDescription& device, const OutputPlan& plan, FileSystem& files,
                 Prompter& prompter);
// Appends its hardware IDs to plan.HardwareIds only when the file was saved.
bool WriteNt5Inf(const DeviceDescription& device, OutputPlan& plan, FileSystem& files,
                 Prompter& prompter);
bool WriteWdmInf(const DeviceDescription& device, OutputPlan& plan, FileSystem& files,
                 Prompter& prompter);

}  // namespace tessaly
