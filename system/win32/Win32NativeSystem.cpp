#include <iostream>

#include "platform/NativeSystem.h"
#include "system/win32/MessageBoxPrompter.h"
#include "system/win32/Win32DeviceSource.h"
#include "system/win32/Win32DriverStore.h"
#include "system/win32/Win32Platform.h"
#include "system/win32/Win32Registry.h"
#include "system/win32/Win32SharedLibrary.h"
#include "system/win32/WinInetFtpClient.h"
#include "system/win32/WindowsApi.h"

namespace tessaly {
namespace {

class Win32NativeSystem final : public NativeSystem {
public:
    Win32NativeSystem()
        : platform_{registry_, files_, system_, shell_, plugAndPlay_, ftp_, devices_, driverStore_},
          boxes_(std::cerr) {}

    const Platform& platform() const override { return platform_; }
    bool registryConfigured() const override { return true; }
    const std::string& startupError() const override { return noError_; }
    SharedLibraryLoader& loader() override { return loader_; }
    // The toolchain's standard library has no threads here.
    Workers& workers() override { return workers_; }
    bool displayAvailable() const override { return true; }
    bool fallbackShowsMessageBoxes() const override { return true; }
    Prompter& fallbackPrompter() override { return boxes_; }

private:
    Win32Registry registry_;
    Win32FileSystem files_;
    Win32SystemInfo system_;
    Win32Shell shell_;
    Win32PlugAndPlay plugAndPlay_;
    WinInetFtpClient ftp_;
    Win32DeviceSource devices_;
    Win32DriverStore driverStore_;
    Platform platform_;
    Win32SharedLibraryLoader loader_;
    SequentialWorkers workers_;
    MessageBoxPrompter boxes_;
    const std::string noError_;
};

}  // namespace

std::unique_ptr<NativeSystem> MakeNativeSystem(std::ostream&) {
    // A missing floppy or CD must not stop the run with a system box: the call fails instead.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return std::make_unique<Win32NativeSystem>();
}

std::string_view NativeUsageNotes() {
    return R"(
Messages show in message boxes (on standard error as "Tessaly Wizard: <text>" where
there is no desktop); warnings of a run from a file go to standard error.
The default output folder is c:\vxipnp\winnt\<prefix>, or winnt\<prefix> under the
I/O library's InstDir. Installing the INF needs an elevated start.
)";
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

}  // namespace tessaly
