#include "system/win32/Win32Platform.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string_view>
#include <utility>

#include "system/win32/WindowsApi.h"
// After windows.h, which it needs.
#include <shellapi.h>

namespace tessaly {
namespace {

// A file handle, closed when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&&) = delete;
    ~Handle() { Close(); }

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool Close() {
        const bool closed = !valid() || ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// A new, empty file beside `path` (same folder, so the final move stays on one volume), opened
// for writing; `temporary` receives its name.
Handle CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    static std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        temporary = path + suffix;
        Handle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid() || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return Handle();
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// Puts the temporary in place of `path` once it is on the disk, or removes it when any step
// failed.
bool Finish(Handle& file, const std::string& temporary, const std::string& path, bool complete) {
    complete = complete && ::FlushFileBuffers(file.get());
    complete = file.Close() && complete;
    // A read-only file cannot be opened for writing, so it is not replaced either: Windows
    // refuses to move over one, Wine does not.
    const DWORD target = ::GetFileAttributesA(path.c_str());
    complete =
        complete && (target == INVALID_FILE_ATTRIBUTES || !(target & FILE_ATTRIBUTE_READONLY));
    complete = complete && ::MoveFileExA(temporary.c_str(), path.c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!complete) {
        ::DeleteFileA(temporary.c_str());
    }
    return complete;
}

Handle OpenForReading(const std::string& path) {
    return Handle(::CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

bool Win32FileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    std::string temporary;
    Handle file = CreateTemporaryBeside(path, temporary);
    return file.valid() && Finish(file, temporary, path, WriteAll(file.get(), bytes));
}

bool Win32FileSystem::CanWriteFile(const std::string& path) {
    std::string temporary;
    Handle file = CreateTemporaryBeside(path, temporary);
    if (!file.valid()) {
        return false;
    }
    file.Close();
    ::DeleteFileA(temporary.c_str());
    return true;
}

FileContents Win32FileSystem::ReadFile(const std::string& path, std::size_t maxBytes) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return {ReadError::NotRegularFile, {}};
    }
    Handle file = OpenForReading(path);
    if (!file.valid()) {
        return {ReadError::CannotOpen, {}};
    }
    // Pipes and devices have no end to wait for.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        return {ReadError::NotRegularFile, {}};
    }
    FileContents contents;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        contents.error = ReadError::ReadFailed;
    } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        contents.error = ReadError::TooLarge;
    } else {
        // The file may grow after the size was read: one byte past the limit at most.
        const std::size_t cap = maxBytes == SIZE_MAX ? maxBytes : maxBytes + 1;
        char buffer[65536];
        while (contents.bytes.size() < cap) {
            const auto want = static_cast<DWORD>(
                std::min<std::size_t>(sizeof buffer, cap - contents.bytes.size()));
            DWORD got = 0;
            if (!::ReadFile(file.get(), buffer, want, &got, nullptr)) {
                contents.error = ReadError::ReadFailed;
                break;
            }
            if (got == 0) {
                break;
            }
            contents.bytes.append(buffer, got);
        }
        if (contents.ok() && contents.bytes.size() > maxBytes) {
            contents.error = ReadError::TooLarge;
        }
    }
    if (!contents.ok()) {
        contents.bytes.clear();
    }
    return contents;
}

bool Win32FileSystem::CanOpenForReading(const std::string& path) {
    return OpenForReading(path).valid();
}

FileAttributes Win32FileSystem::QueryAttributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        switch (::GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
                return {FileError::FileNotFound, false};
            case ERROR_PATH_NOT_FOUND:
                return {FileError::PathNotFound, false};
            default:
                return {FileError::Other, false};
        }
    }
    return {FileError::None, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) {
        return true;
    }
    // Another process may have made it meanwhile; a file of that name is no folder.
    if (::GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CopyReplacing(const std::string& from, const std::string& to) {
    std::string temporary;
    Handle file = CreateTemporaryBeside(to, temporary);
    if (!file.valid()) {
        return false;
    }
    file.Close();
    // CopyFileA fills the temporary; it is flushed before it takes the target's place. It also
    // copies a read-only attribute, which would bar the flush and every later replacement.
    bool complete = ::CopyFileA(from.c_str(), temporary.c_str(), FALSE);
    const DWORD attributes = complete ? ::GetFileAttributesA(temporary.c_str()) : 0;
    complete = complete && attributes != INVALID_FILE_ATTRIBUTES &&
               ::SetFileAttributesA(temporary.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    Handle copy(complete ? ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                         : INVALID_HANDLE_VALUE);
    if (!copy.valid()) {
        ::DeleteFileA(temporary.c_str());
        return false;
    }
    return Finish(copy, temporary, to, complete);
}

int Win32FileSystem::RemoveStaleTemporaries(const std::string& path) {
    // A temporary in use is open without sharing, so it cannot be deleted; one that has not
    // changed for a minute belongs to no write about to rename it.
    constexpr ULONGLONG kStale = 60ULL * 10000000ULL;  // in 100-nanosecond units
    const auto slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size());
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + ".*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    };
    int removed = 0;
    do {
        const std::string_view entry = found.cFileName;
        const std::string_view digits = entry.substr(std::min(entry.size(), name.size() + 1));
        const bool shaped =
            entry.size() == name.size() + 13 &&
            _strnicmp(entry.data(), name.c_str(), name.size()) == 0 && entry[name.size()] == '.' &&
            digits.substr(8) == ".tmp" &&
            digits.substr(0, 8).find_first_not_of("0123456789abcdef") == std::string_view::npos;
        if (shaped && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            ticks(now) - ticks(found.ftLastWriteTime) >= kStale &&
            ::DeleteFileA((folder + std::string(entry)).c_str())) {
            ++removed;
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return removed;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
    return ::DeleteFileA(path.c_str());
}

std::optional<OsVersion> Win32SystemInfo::GetOsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) {
        return std::nullopt;
    }
    return OsVersion{info.dwPlatformId == VER_PLATFORM_WIN32_NT,
                     static_cast<unsigned>(info.dwMajorVersion),
                     static_cast<unsigned>(info.dwMinorVersion)};
}

std::optional<std::string> Win32SystemInfo::GetWindowsDirectory() {
    // Looked up at run time: Windows 9x and NT4 have no such function.
    using Function = UINT(WINAPI*)(LPSTR, UINT);
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    const auto function = kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(
                                       ::GetProcAddress(kernel, "GetSystemWindowsDirectoryA")))
                                 : nullptr;
    char buffer[MAX_PATH];
    const UINT length = function ? function(buffer, MAX_PATH) : 0;
    if (length == 0 || length >= MAX_PATH) {
        return std::nullopt;
    }
    return std::string(buffer, length);
}

bool Win32Shell::OpenFolder(const std::string& path) {
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, path.c_str(), SW_SHOWNORMAL));
    return result > 32;
}

int Win32Shell::Execute(const std::string& file, const std::string& parameters) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(), nullptr, SW_HIDE)));
}

Win32PlugAndPlay::~Win32PlugAndPlay() {
    if (library_) {
        ::FreeLibrary(static_cast<HMODULE>(library_));
    }
}

bool Win32PlugAndPlay::IsAvailable() {
    if (!library_) {
        library_ = ::LoadLibraryA("newdev.dll");
    }
    if (library_ && !update_) {
        update_ = reinterpret_cast<void*>(
            ::GetProcAddress(static_cast<HMODULE>(library_), "UpdateDriverForPlugAndPlayDevicesA"));
    }
    return update_ != nullptr;
}

void Win32PlugAndPlay::UpdateDriver(const std::string& hardwareId, const std::string& infPath) {
    using Function = BOOL(WINAPI*)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);
    if (!IsAvailable()) {
        return;
    }
    BOOL reboot = FALSE;
    reinterpret_cast<Function>(update_)(nullptr, hardwareId.c_str(), infPath.c_str(), 0, &reboot);
}

}  // namespace tessaly
