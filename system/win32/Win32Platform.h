#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace tessaly {

// Files through the ANSI Win32 calls; paths and names are in the ANSI code page, as the text
// the program holds. Files are replaced through a temporary beside them ("<name>.<random>.tmp")
// that is flushed to the disk and moved over the target.
class Win32FileSystem final : public FileSystem {
public:
    char Separator() const override { return '\\'; }
    std::string PathFromText(std::string_view text) const override { return std::string(text); }
    bool WriteFile(const std::string& path, std::string_view bytes) override;
    bool CanWriteFile(const std::string& path) override;
    FileContents ReadFile(const std::string& path, std::size_t maxBytes) override;
    bool CanOpenForReading(const std::string& path) override;
    FileAttributes QueryAttributes(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool CopyReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    int RemoveStaleTemporaries(const std::string& path) override;
};

// The running Windows: its version, its Windows directory, and "c:\vxipnp\" as the output base.
class Win32SystemInfo final : public SystemInfo {
public:
    std::optional<OsVersion> GetOsVersion() override;
    std::optional<std::string> GetWindowsDirectory() override;
    std::string DefaultOutputBase() override { return "c:\\vxipnp\\"; }
    // Registry paths are this system's own paths; one too long for the buffer it is read into
    // fails to read.
    std::optional<std::string> FolderFromRegistryPath(const std::string& value) override {
        return value.size() < kRegistryPathBytes ? std::optional(value) : std::nullopt;
    }
};

class Win32Shell final : public Shell {
public:
    bool OpenFolder(const std::string& path) override;
    int Execute(const std::string& file, const std::string& parameters) override;
};

// UpdateDriverForPlugAndPlayDevicesA of newdev.dll, loaded when first asked for and unloaded
// with this object.
class Win32PlugAndPlay final : public PlugAndPlay {
public:
    Win32PlugAndPlay() = default;
    ~Win32PlugAndPlay() override;
    Win32PlugAndPlay(const Win32PlugAndPlay&) = delete;
    Win32PlugAndPlay& operator=(const Win32PlugAndPlay&) = delete;

    bool IsAvailable() override;
    void UpdateDriver(const std::string& hardwareId, const std::string& infPath) override;

private:
    void* library_ = nullptr;  // HMODULE
    void* update_ = nullptr;
};

}  // namespace tessaly
