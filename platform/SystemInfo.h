#pragma once

#include <optional>
#include <string>

namespace tessaly {

struct OsVersion {
    bool ntFamily = true;
    unsigned major = 0;
    unsigned minor = 0;
};

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
    // nullopt when it names none here: empty, relative, or on a drive this system cannot reach.
    // The platform tells the user why where its warnings go.
    virtual std::optional<std::string> FolderFromRegistryPath(const std::string& value) = 0;
};

}  // namespace tessaly
