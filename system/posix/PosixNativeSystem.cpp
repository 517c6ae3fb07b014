#include <csignal>
#include <cstdlib>

#include "app/ConsolePrompter.h"
#include "discovery/DeviceSource.h"
#include "platform/NativeSystem.h"
#include "system/curl/CurlFtpClient.h"
#include "system/posix/PosixPlatform.h"
#include "system/posix/PosixSharedLibrary.h"
#include "system/posix/RegFile.h"
#include "system/posix/ThreadWorkers.h"

namespace tessaly {
namespace {

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

class PosixNativeSystem final : public NativeSystem {
public:
    explicit PosixNativeSystem(std::ostream& warnings)
        : registry_(LoadRegistryFromEnvironment()),
          system_(PosixSystemInfo::FromEnvironment(warnings)),
          devices_(DiscoveryFolders::FromEnvironment()),
          driverStore_(files_, system_),
          platform_{*registry_.registry, files_, system_,  shell_,
                    plugAndPlay_,        ftp_,   devices_, driverStore_},
          console_(std::cerr) {}

    const Platform& platform() const override { return platform_; }
    bool registryConfigured() const override { return registry_.configured; }
    const std::string& startupError() const override { return registry_.error; }
    SharedLibraryLoader& loader() override { return loader_; }
    Workers& workers() override { return workers_; }
    bool displayAvailable() const override {
        return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY") ||
               EnvironmentSet("QT_QPA_PLATFORM");
    }
    bool fallbackShowsMessageBoxes() const override { return false; }
    Prompter& fallbackPrompter() override { return console_; }

private:
    ConfiguredRegistry registry_;
    PosixFileSystem files_;
    PosixSystemInfo system_;
    PosixShell shell_;
    PosixPlugAndPlay plugAndPlay_;
    CurlFtpClient ftp_;
    SysfsDeviceSource devices_;
    PosixDriverStore driverStore_;
    Platform platform_;
    PosixSharedLibraryLoader loader_;
    ThreadWorkers workers_;
    ConsolePrompter console_;
};

}  // namespace

std::unique_ptr<NativeSystem> MakeNativeSystem(std::ostream& warnings) {
    // A closed standard error must not kill the run: the write fails (EPIPE) and is dropped,
    // and the exit status still tells how the run went.
    std::signal(SIGPIPE, SIG_IGN);
    return std::make_unique<PosixNativeSystem>(warnings);
}

std::string_view NativeUsageNotes() {
    return R"(
Environment:
  TESSALY_REGISTRY       a .reg export standing in for HKEY_LOCAL_MACHINE
                         (unset: no registry keys)
  TESSALY_WINDOWS_DIR    the Windows folder whose inf/ folder receives installed INF
                         files (unset: installing fails)
  TESSALY_STARTUP_PROBE  when not empty, close the wizard as soon as its first page shows
                         and print the time since the start

Without a display, messages go to standard error as "Tessaly Wizard: <text>".
The default output folder is $HOME/vxipnp/winnt/<prefix>. See tessaly-wizard(1).
)";
}

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

}  // namespace tessaly
