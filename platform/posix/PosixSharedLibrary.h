#pragma once

#include "platform/SharedLibrary.h"

namespace tessaly {

// dlopen with every symbol bound at load time, so a library that cannot run fails here and not
// in the middle of a dialog.
class PosixSharedLibraryLoader final : public SharedLibraryLoader {
public:
    void* FindSymbol(const std::string& path, const char* symbol, std::string& error) override;
    std::string ExecutableFolder() override;
};

}  // namespace tessaly
