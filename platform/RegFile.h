#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/MemoryRegistry.h"

namespace tessaly {

// Why a registry export could not be read: the line (1-based) and what is wrong with it.
struct RegFileError {
    std::size_t line = 0;
    std::string reason;
};

// Reads a registry export (".reg", as regedit writes it: "Windows Registry Editor Version 5.00"
// in UTF-16LE with a byte-order mark, or "REGEDIT4" in 8-bit text) into `registry`. Keeps the
// keys under HKEY_LOCAL_MACHINE (or HKLM) and their string values; keys under other roots,
// deletions and values of other types are read over and dropped. UTF-16 text becomes Latin-1,
// with '?' for characters beyond it; 8-bit text is kept byte for byte. Returns false and
// fills `error` when the text is not a registry export; `registry` is then partly filled.
bool ParseRegFile(std::string_view bytes, MemoryRegistry& registry, RegFileError& error);

// Loads the export at `path`. When it cannot be read or is malformed, writes a one-line warning
// naming the file to `warnings` and returns an empty registry.
std::unique_ptr<MemoryRegistry> LoadRegFile(const std::string& path, std::ostream& warnings);

inline constexpr const char* kRegistryVariable = "TESSALY_REGISTRY";

struct ConfiguredRegistry {
    std::unique_ptr<MemoryRegistry> registry;  // never null
    bool configured = false;                   // TESSALY_REGISTRY names a file
};

// The registry named by TESSALY_REGISTRY: unset or empty gives an empty registry that is not
// configured; otherwise LoadRegFile's result, configured even when the file was unusable.
ConfiguredRegistry LoadRegistryFromEnvironment(std::ostream& warnings);

}  // namespace tessaly
