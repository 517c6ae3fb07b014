#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tessaly {

struct OsVersion {
    bool ntFamily = true;
    unsigned major = 0;
    unsigned minor = 0;
};

// The buffer a registry path value ("InstDir", "Path") is read into: a longer value fails to
// read, so it names no folder.
inline constexpr std::size_t kRegistryPathBytes = 256;
// What the registry is asked for when reading a path value, so that one too long for
// kRegistryPathBytes can be told from a missing one: the most a value holds in the registry's
// standard format.
inline constexpr std::size_t kRegistryValueBytes = std::size_t{1} << 20;

class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    // nullopt when the version cannot be obtained.
    virtual std::optional<OsVersion> GetOsVersion() = 0;

    // The Windows directory that receives installed INF files; nullopt when there is none.
    virtual std::optional<std::string> GetWindowsDirectory() = 0;

    // The folder under which the default output directory is formed when the registry names
    // none; ends with a separator ("c:\vxipnp\" on Windows).
    virtual std::string DefaultOutputBase() = 0;

    // The folder a path value of the registry (such as "InstDir") names on this system, or
    // nullopt when it names none here: empty, relative, on a drive this system cannot reach,
    // holding a NUL, or too long for the kRegistryPathBytes the value is read into on Windows.
    // The platform tells the user why where its warnings go.
    virtual std::optional<std::string> FolderFromRegistryPath(const std::string& value) = 0;
};

}  // namespace tessaly
