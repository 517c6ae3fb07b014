#pragma once

#include "platform/SharedLibrary.h"

namespace tessaly {

// LoadLibrary, searching the module's own folder first for the libraries it needs (the
// toolkit's DLLs sit beside it).
class Win32SharedLibraryLoader final : public SharedLibraryLoader {
public:
    void* FindSymbol(const std::string& path, const char* symbol, std::string& error) override;
    std::string ExecutableFolder() override;
};

// The system's text for a Win32 error code, without the line break it ends with.
std::string Win32ErrorText(unsigned long code);

}  // namespace tessaly
