#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/PackageCrypto.h"
#include "platform/Platform.h"
#include "platform/Prompter.h"
#include "platform/SharedLibrary.h"
#include "platform/Workers.h"

namespace tessaly {

// The system the program runs on, assembled once at start-up: platform/posix and platform/win32
// each build one. The program's entry point and the tests of a real platform go through it.
class NativeSystem {
public:
    virtual ~NativeSystem() = default;

    // What the core is given.
    virtual const Platform& platform() const = 0;
    // The registry is the system's own, or a stand-in the user named; false when there is none.
    virtual bool registryConfigured() const = 0;
    // What stops the run before anything is done (an unreadable stand-in registry); empty when
    // nothing does.
    virtual const std::string& startupError() const = 0;

    virtual SharedLibraryLoader& loader() = 0;
    // Runs the independent steps of a batch side by side where the system has threads.
    virtual Workers& workers() = 0;
    // Windows can be shown: always on Windows, with a display elsewhere.
    virtual bool displayAvailable() const = 0;
    // Shows messages when the window module cannot: standard error on POSIX, message boxes on
    // Windows.
    virtual Prompter& fallbackPrompter() = 0;
    // The fallback's messages are the system's own message boxes (Windows), so a message or a
    // question needs no window module.
    virtual bool fallbackShowsMessageBoxes() const = 0;
};

// Sets up the process (signals, error modes) and assembles the system; warnings of the set-up
// (ignored registry values) go to `warnings`.
std::unique_ptr<NativeSystem> MakeNativeSystem(std::ostream& warnings);

// What the usage text says about this system: environment, default output folder, where
// messages go.
std::string_view NativeUsageNotes();

// The system's own file operations, for tests that need real files.
std::unique_ptr<FileSystem> MakeNativeFileSystem();

// The system's crypto library, which signs driver packages.
std::unique_ptr<PackageCrypto> MakeNativePackageCrypto();

}  // namespace tessaly
