#pragma once

#include <chrono>
#include <optional>

#include "output/package/DriverPackage.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "wizard/PageIds.h"
#include "wizard/WizardDialogs.h"
#include "wizard/WizardModel.h"

namespace tessaly {

// The wizard's windows live in a module of their own that the program loads only when a window
// or message box must be shown, so runs that need none never map the GUI toolkit. This header is
// the whole contract between the program (app/) and the module (a view, gui/qt/). On Windows the
// view (gui/win32/) is linked into the program instead and started through the same contract.

// What the module is given when it starts; everything outlives the session.
struct GuiContext {
    int* argc;
    char** argv;
    const Platform* platform;
    bool registryConfigured;
    // With TESSALY_STARTUP_PROBE set, the wizard reports the time since then and closes.
    std::optional<std::chrono::steady_clock::time_point> start;
    // What signs the driver package the output page may write.
    const PackageEnvironment* packages = nullptr;
};

// The module's windows for one run: message boxes, the wizard's dialogs and the sheet.
class GuiSession {
public:
    virtual ~GuiSession() = default;
    virtual Prompter& prompter() = 0;
    virtual WizardDialogs& dialogs() = 0;
    virtual void RunWizard(WizardModel& model, PageId startPage) = 0;
};

// Raised whenever the contract above changes, so a stale module is refused instead of crashing.
inline constexpr int kGuiModuleVersion = 4;

// The module's one exported function: a new session, or nullptr when the version differs or
// the toolkit cannot start.
inline constexpr const char* kGuiModuleEntry = "tessaly_create_gui_session";
using GuiModuleEntry = GuiSession* (*)(int version, const GuiContext& context);

// The entry of the view linked into the program, or nullptr when the view is a module to load.
// Defined by the linked view, else by app/NoLinkedView.cpp.
GuiModuleEntry LinkedGuiModule();

}  // namespace tessaly
