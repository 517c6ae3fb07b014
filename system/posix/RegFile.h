#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace tessaly {

// Why a registry export could not be read: the line (1-based) and what is wrong with it.
struct RegFileError {
    std::size_t line = 0;
    std::string reason;
};

// Reads a registry export (".reg", as regedit writes it: "Windows Registry Editor Version 5.00"
// in UTF-16LE with a byte-order mark, or "REGEDIT4" in 8-bit text) as HKEY_LOCAL_MACHINE: the
// keys under HKEY_LOCAL_MACHINE (or HKLM) and their string values; keys under other roots,
// deletions and values of other types are read over and dropped. UTF-16 text becomes Latin-1,
// with '?' for characters beyond it; 8-bit text is kept byte for byte. The registry keeps the
// text and an index of its keys, a few times the file's size whatever its keys. Returns null
// and fills `error` when the text is not a registry export.
std::unique_ptr<Registry> ParseRegFile(std::string bytes, RegFileError& error);

// Loads the export at `path`. When it cannot be read (memory running out included) or is not a
// registry export, returns null and sets `error` to one sentence naming the file.
std::unique_ptr<Registry> LoadRegFile(const std::string& path, std::string& error);

inline constexpr const char* kRegistryVariable = "TESSALY_REGISTRY";
// Far above a useful export (a few KiB) and still bounded should the name point at something huge.
inline constexpr std::size_t kMaxRegistryFileBytes = std::size_t{256} << 20;

struct ConfiguredRegistry {
    std::unique_ptr<Registry> registry;  // never null
    bool configured = false;             // TESSALY_REGISTRY names a file
    // Why the configured file cannot be used; the run must then end before writing anything,
    // rather than write to the default folder the user meant to replace.
    std::string error;
};

// The registry named by TESSALY_REGISTRY: unset or empty gives an empty registry that is not
// configured; a file that cannot be used gives an empty one and the error.
ConfiguredRegistry LoadRegistryFromEnvironment();

}  // namespace tessaly
