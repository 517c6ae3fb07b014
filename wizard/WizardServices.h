#pragma once

#include "actions/InfInstaller.h"
#include "output/package/DriverPackage.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "wizard/WizardDialogs.h"

namespace tessaly {

// What the presenters are given: the platform, the messages and questions, the view's dialogs,
// and what the run remembers.
struct WizardServices {
    const Platform& platform;
    Prompter& prompter;
    WizardDialogs& dialogs;
    RealTimeProductDetector& detector;
    // False when the program runs without a registry (no TESSALY_REGISTRY).
    bool registryConfigured = true;
    // What signs driver packages; without it the output page offers none.
    const PackageEnvironment* packages = nullptr;
};

}  // namespace tessaly
