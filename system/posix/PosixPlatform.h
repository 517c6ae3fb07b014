#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <functional>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "actions/PackageInstaller.h"
#include "device/TextRules.h"
#include "platform/DriverStore.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace tessaly {

// The calls that put bytes on the disk; a test replaces them to make the disk fill up part-way.
struct DiskCalls {
    std::function<ssize_t(int, const void*, std::size_t)> write = ::write;
    std::function<int(int)> fsync = ::fsync;
};

// Files on a POSIX system, reporting failures in the Windows error classes: a missing last
// component is file-not-found, a missing (or non-folder) component on the way is path-not-found.
// Files are replaced through a hidden temporary beside them (see Temporary), which a signal that
// ends the program removes; a file without write permission for anyone is read-only, as on
// Windows, and is not replaced.
class PosixFileSystem final : public FileSystem {
public:
    PosixFileSystem() = default;
    explicit PosixFileSystem(DiskCalls calls) : calls_(std::move(calls)) {}

    char Separator() const override { return '/'; }
    std::string PathFromText(std::string_view text) const override { return Latin1ToUtf8(text); }
    bool WriteFile(const std::string& path, std::string_view bytes) override;
    bool CanWriteFile(const std::string& path) override;
    FileContents ReadFile(const std::string& path, std::size_t maxBytes) override;
    bool CanOpenForReading(const std::string& path) override;
    FileAttributes QueryAttributes(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool CopyReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    int RemoveStaleTemporaries(const std::string& path) override;

private:
    // Writes all of `bytes` to `fd`, through short writes and interruptions.
    bool WriteAll(int fd, std::string_view bytes);
    // Copies `from` to its end into `to`.
    bool CopyAll(int from, int to);

    DiskCalls calls_;
};

// An NT-family system of major version 10; the Windows directory is a folder named by the
// caller (TESSALY_WINDOWS_DIR), the default output base is "<home>/vxipnp/".
//
// Registry paths: an absolute POSIX path is taken as it is. A path on drive C: ("C:\VXIPNP\")
// maps onto the Windows image: C:\ is the folder that holds the Windows directory, and each
// folder name matches an existing one without regard to case. Anything else (empty, relative,
// another drive, C: without an image, "..") is ignored with a warning.
class PosixSystemInfo final : public SystemInfo {
public:
    PosixSystemInfo(std::optional<std::string> windowsDirectory, std::string homeDirectory,
                    std::ostream& warnings = std::cerr);
    static PosixSystemInfo FromEnvironment(std::ostream& warnings = std::cerr);

    std::optional<OsVersion> GetOsVersion() override;
    std::optional<std::string> GetWindowsDirectory() override;
    std::string DefaultOutputBase() override;
    std::optional<std::string> FolderFromRegistryPath(const std::string& value) override;

private:
    std::optional<std::string> Ignore(const std::string& value, const std::string& reason);

    std::optional<std::string> windowsDirectory_;
    std::string homeDirectory_;
    std::ostream* warnings_;
    std::set<std::string> warned_;  // each ignored value is named once
};

// Opens folders with xdg-open; there is no setup command to run on this platform.
class PosixShell final : public Shell {
public:
    bool OpenFolder(const std::string& path) override;
    int Execute(const std::string& file, const std::string& parameters) override;
};

// No Plug and Play manager to notify: Windows binds the installed INF at its next enumeration.
class PosixPlugAndPlay final : public PlugAndPlay {
public:
    bool IsAvailable() override { return true; }
    void UpdateDriver(const std::string&, const std::string&) override {}
};

// No driver or certificate store: installing a package stages its INF and catalog in the inf
// folder of the Windows directory, as the XP/2000 INF is staged.
class PosixDriverStore final : public DriverStore {
public:
    PosixDriverStore(FileSystem& files, SystemInfo& system) : files_(files), system_(system) {}

    bool HasCertificateStores() override { return false; }
    bool TrustPublisher(std::string_view) override { return true; }
    bool InstallPackage(const std::string& inf, const std::string& catalog,
                        const std::vector<std::string>&) override {
        return StagePackageInInfFolder(inf, catalog, files_, system_);
    }
    bool Is64BitWindows() override { return false; }

private:
    FileSystem& files_;
    SystemInfo& system_;
};

}  // namespace tessaly
