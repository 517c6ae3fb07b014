#include "system/win32/Win32SharedLibrary.h"

#include <algorithm>

#include "system/win32/WindowsApi.h"

namespace tessaly {

std::string Win32ErrorText(unsigned long code) {
    char buffer[512];
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, code, 0, buffer, sizeof buffer, nullptr);
    while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r' ||
                          buffer[length - 1] == ' ' || buffer[length - 1] == '.')) {
        --length;
    }
    return length ? std::string(buffer, length) : "error " + std::to_string(code);
}

void* Win32SharedLibraryLoader::FindSymbol(const std::string& path, const char* symbol,
                                           std::string& error) {
    // The altered search (the library's own folder first) needs a full path with backslashes;
    // with a relative one its behaviour is undefined, so that gets the standard search.
    std::string native = path;
    std::replace(native.begin(), native.end(), '/', '\\');
    const bool full = native.rfind("\\\\", 0) == 0 || native.find(":\\") == 1;
    const DWORD flags = full ? LOAD_WITH_ALTERED_SEARCH_PATH : 0;
    HMODULE library = ::LoadLibraryExA(native.c_str(), nullptr, flags);
    if (!library) {
        error = path + ": " + Win32ErrorText(::GetLastError());
        return nullptr;
    }
    void* address = reinterpret_cast<void*>(::GetProcAddress(library, symbol));
    if (!address) {
        error = path + ": " + Win32ErrorText(::GetLastError());
    }
    return address;
}

std::string Win32SharedLibraryLoader::ExecutableFolder() {
    char buffer[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    const std::string path(buffer, length);
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace tessaly
