#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace tessaly {

// Files on a POSIX system, reporting failures in the Windows error classes: a missing last
// component is file-not-found, a missing (or non-folder) component on the way is path-not-found.
class PosixFileSystem final : public FileSystem {
public:
    char Separator() const override { return '/'; }
    bool WriteFile(const std::string& path, std::string_view bytes) override;
    bool CanOpenForReading(const std::string& path) override;
    FileAttributes QueryAttributes(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool CopyReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
};

// An NT-family system of major version 10; the Windows directory is a folder named by the
// caller (TESSALY_WINDOWS_DIR), the default output base is "<home>/vxipnp/".
class PosixSystemInfo final : public SystemInfo {
public:
    PosixSystemInfo(std::optional<std::string> windowsDirectory, std::string homeDirectory);
    static PosixSystemInfo FromEnvironment();

    std::optional<OsVersion> GetOsVersion() override;
    std::optional<std::string> GetWindowsDirectory() override;
    std::string DefaultOutputBase() override;

private:
    std::optional<std::string> windowsDirectory_;
    std::string homeDirectory_;
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

}  // namespace tessaly
