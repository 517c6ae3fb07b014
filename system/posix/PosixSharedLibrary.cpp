#include "system/posix/PosixSharedLibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace tessaly {

void* PosixSharedLibraryLoader::FindSymbol(const std::string& path, const char* symbol,
                                           std::string& error) {
    void* library = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!library) {
        const char* reason = ::dlerror();
        error = reason ? reason : "cannot load " + path;
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(library, symbol);
    if (!address) {
        const char* reason = ::dlerror();
        error = reason ? reason : path + ": no " + symbol;
    }
    return address;
}

std::string PosixSharedLibraryLoader::ExecutableFolder() {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed || !self.has_parent_path()) {
        return {};
    }
    return self.parent_path().string() + '/';
}

}  // namespace tessaly
