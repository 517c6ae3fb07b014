#pragma once

#include <string>

namespace tessaly {

// Loads code at run time: dlopen on POSIX, LoadLibrary on Windows. A library stays loaded for
// the rest of the run.
class SharedLibraryLoader {
public:
    virtual ~SharedLibraryLoader() = default;

    // The address of `symbol` in the library at `path`, loading the library first; nullptr
    // with `error` saying why when either step fails.
    virtual void* FindSymbol(const std::string& path, const char* symbol, std::string& error) = 0;

    // The folder of the running executable, with a trailing separator; empty when unknown.
    virtual std::string ExecutableFolder() = 0;
};

}  // namespace tessaly
