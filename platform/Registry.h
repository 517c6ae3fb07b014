#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace tessaly {

// An open key of the local-machine registry, read only. Destroying it closes it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // Opens a subkey (a relative path with backslashes); nullptr when it does not open.
    virtual std::unique_ptr<RegistryKey> OpenSubKey(const std::string& path) = 0;

    // Reads a string value into a buffer of `bufferBytes` bytes, terminator included, as the
    // registry does: fails when the value is missing, is not a string, or does not fit.
    virtual std::optional<std::string> QueryString(const std::string& name,
                                                   std::size_t bufferBytes) = 0;

    // The name of the subkey at `index`, read into `bufferChars` characters, terminator
    // included; fails past the last subkey and when the name does not fit.
    virtual std::optional<std::string> EnumSubKey(std::size_t index, std::size_t bufferChars) = 0;
};

// HKEY_LOCAL_MACHINE, read only.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens a key below HKEY_LOCAL_MACHINE, such as "SOFTWARE\Quorvane\Vantorix\"; a trailing
    // backslash is allowed. nullptr when the key does not open.
    virtual std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) = 0;
};

}  // namespace tessaly
