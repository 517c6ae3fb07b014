#pragma once

#include <string>
#include <vector>

#include "device/DeviceDescription.h"

namespace tessaly {

class FileSystem;
class Prompter;
class Registry;
class SystemInfo;

// The paths of the files one generation writes; composed before every generation and refresh.
struct OutputFiles {
    std::string RtInf;       // real-time target INF: first 5 characters of the prefix + "_RT.inf"
    std::string Inf9x;       // prefix + "_9x.inf"
    std::string Nt4Inf;      // prefix + "_NT4.inf"
    std::string Nt5Inf;      // prefix + "_NT5.inf"
    std::string ModuleFile;  // prefix + ".ini"
    std::string WdmInf;      // prefix + "_WDM.inf"
};

// What the output files page keeps besides the prefix and directory of DeviceDescription.
struct OutputPlan {
    int Bus = kBusPxi;            // the output page's copy of the bus
    std::string BaseDirectory;    // folder the default directory is formed under; ends with a separator
    std::string DirectoryPrefix;  // prefix last appended to BaseDirectory to form the directory
    OutputFiles Files;
    std::vector<std::string> HardwareIds;  // recorded by the last generation, in writing order
};

}  // namespace tessaly
