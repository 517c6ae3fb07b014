#pragma once

#include <dlfcn.h>

#include <cstring>
#include <string>

namespace tessaly {

// A library the program maps only when it first needs it (libcurl, libcrypto), every symbol
// bound at once. It stays mapped until the process ends: the libraries it pulls in register exit
// handlers that must find their code. Nullptr when it cannot be loaded.
inline void* LoadRuntimeLibrary(const std::string& name) {
    return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Points `function` at the library's symbol `name`; false when the library has none.
template <typename Function>
bool ResolveSymbol(void* library, const char* name, Function& function) {
    static_assert(sizeof(Function) == sizeof(void*));
    void* symbol = ::dlsym(library, name);
    std::memcpy(&function, &symbol, sizeof function);  // POSIX: the same representation
    return symbol != nullptr;
}

}  // namespace tessaly
