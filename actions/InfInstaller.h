#pragma once

#include "output/OutputPlan.h"
#include "platform/Platform.h"

namespace tessaly {

// Installs the generated INF for the running system: on major version 5 or later copies the
// XP/2000 (PXI/PCI) or WDM (USB) INF into the Windows inf folder and updates the driver of
// every recorded hardware ID; on older systems starts the setup command with the NT4 INF.
// Only an INF the last generation wrote is installed. True on success.
bool InstallInf(const OutputPlan& plan, Bus bus, const Platform& platform);

// Remembers, for the life of the process, that the real-time product was found.
class RealTimeProductDetector {
public:
    // True when the real-time product is installed; a positive answer is remembered.
    bool Detect(Registry& registry, FileSystem& files);
    bool found() const { return found_; }

private:
    bool found_ = false;
};

// The answer the installation options page shows: yes without asking the detector when no
// registry is configured (deploying to a real-time target by FTP needs nothing installed on a
// system that has no registry), otherwise the detector's answer.
bool DetectRealTimeProductOrUnconfigured(RealTimeProductDetector& detector, bool registryConfigured,
                                         Registry& registry, FileSystem& files);

}  // namespace tessaly
