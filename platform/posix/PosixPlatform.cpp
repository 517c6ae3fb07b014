#include "platform/posix/PosixPlatform.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tessaly {
namespace {

std::string ParentOf(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') {
        p.pop_back();
    }
    const auto pos = p.rfind('/');
    if (pos == std::string::npos) {
        return ".";
    }
    return pos == 0 ? "/" : p.substr(0, pos);
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool PosixFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return true;
}

bool PosixFileSystem::CanOpenForReading(const std::string& path) {
    if (IsDirectory(path)) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    std::fclose(file);
    return true;
}

FileAttributes PosixFileSystem::QueryAttributes(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return {FileError::None, S_ISDIR(st.st_mode)};
    }
    if (errno == ENOTDIR) {
        return {FileError::PathNotFound, false};
    }
    if (errno != ENOENT) {
        return {FileError::Other, false};
    }
    return {IsDirectory(ParentOf(path)) ? FileError::FileNotFound : FileError::PathNotFound, false};
}

bool PosixFileSystem::MakeDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool PosixFileSystem::CopyReplacing(const std::string& from, const std::string& to) {
    std::error_code error;
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing,
                                      error);
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

PosixSystemInfo::PosixSystemInfo(std::optional<std::string> windowsDirectory,
                                 std::string homeDirectory)
    : windowsDirectory_(std::move(windowsDirectory)), homeDirectory_(std::move(homeDirectory)) {}

PosixSystemInfo PosixSystemInfo::FromEnvironment() {
    std::optional<std::string> windows;
    if (const char* dir = std::getenv("TESSALY_WINDOWS_DIR"); dir && *dir) {
        windows = dir;
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return PosixSystemInfo(std::move(windows), std::move(home));
}

std::optional<OsVersion> PosixSystemInfo::GetOsVersion() {
    return OsVersion{true, 10, 0};
}

std::optional<std::string> PosixSystemInfo::GetWindowsDirectory() {
    if (!windowsDirectory_ || !IsDirectory(*windowsDirectory_)) {
        return std::nullopt;
    }
    return windowsDirectory_;
}

std::string PosixSystemInfo::DefaultOutputBase() {
    std::string base = homeDirectory_;
    if (base.empty() || base.back() != '/') {
        base += '/';
    }
    return base + "vxipnp/";
}

bool PosixShell::OpenFolder(const std::string& path) {
    // Started and left to run; the child is reaped by a second fork so no zombie remains.
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        if (::fork() == 0) {
            const char* argv[] = {"xdg-open", path.c_str(), nullptr};
            ::execvp("xdg-open", const_cast<char* const*>(argv));
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int PosixShell::Execute(const std::string&, const std::string&) {
    // ERROR_FILE_NOT_FOUND: there is no rundll32 here.
    return 2;
}

}  // namespace tessaly
