#include "system/posix/PosixPlatform.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "system/posix/Temporary.h"

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

bool PosixFileSystem::WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = calls_.write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;  // a full disk, a quota, an I/O error
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool PosixFileSystem::CopyAll(int from, int to) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        if (!WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}

bool PosixFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
    Temporary temporary(path);
    return temporary.valid() &&
           temporary.Finish(WriteAll(temporary.fd(), bytes) && calls_.fsync(temporary.fd()) == 0);
}

bool PosixFileSystem::CanWriteFile(const std::string& path) {
    return Temporary(path).valid();
}

int PosixFileSystem::RemoveStaleTemporaries(const std::string& path) {
    return tessaly::RemoveStaleTemporaries(path);
}

FileContents PosixFileSystem::ReadFile(const std::string& path, std::size_t maxBytes) {
    // Non-blocking, so that a FIFO without a writer does not hold the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {ReadError::CannotOpen, {}};
    }
    FileContents contents;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        contents.error = ReadError::ReadFailed;
    } else if (!S_ISREG(st.st_mode)) {
        contents.error = ReadError::NotRegularFile;
    } else if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        contents.error = ReadError::TooLarge;
    } else {
        // The file may grow or be swapped after fstat: read one byte past the limit at most.
        const std::size_t cap = maxBytes == SIZE_MAX ? maxBytes : maxBytes + 1;
        // Room for the whole file at once: a string that doubles its way up holds up to twice
        // the bytes, and both copies while it moves.
        contents.bytes.reserve(std::min(static_cast<std::size_t>(st.st_size), maxBytes) + 1);
        char buffer[65536];
        while (contents.bytes.size() < cap) {
            const std::size_t want = std::min(sizeof buffer, cap - contents.bytes.size());
            const ssize_t got = ::read(fd, buffer, want);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                contents.error = ReadError::ReadFailed;
                break;
            }
            if (got == 0) {
                break;
            }
            contents.bytes.append(buffer, static_cast<std::size_t>(got));
        }
        if (contents.ok() && contents.bytes.size() > maxBytes) {
            contents.error = ReadError::TooLarge;
        }
    }
    ::close(fd);
    if (!contents.ok()) {
        contents.bytes.clear();
    }
    return contents;
}

bool PosixFileSystem::CanOpenForReading(const std::string& path) {
    if (IsDirectory(path)) {
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
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
    // Another process may create the folder between a caller's check and this call.
    return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(path));
}

bool PosixFileSystem::CopyReplacing(const std::string& from, const std::string& to) {
    const int source = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(source, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(source);
        return false;
    }
    Temporary temporary(to);
    const bool copied =
        temporary.valid() && CopyAll(source, temporary.fd()) && calls_.fsync(temporary.fd()) == 0;
    ::close(source);
    return temporary.valid() && temporary.Finish(copied);
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

PosixSystemInfo::PosixSystemInfo(std::optional<std::string> windowsDirectory,
                                 std::string homeDirectory, std::ostream& warnings)
    : windowsDirectory_(std::move(windowsDirectory)),
      homeDirectory_(std::move(homeDirectory)),
      warnings_(&warnings) {}

PosixSystemInfo PosixSystemInfo::FromEnvironment(std::ostream& warnings) {
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
    return PosixSystemInfo(std::move(windows), std::move(home), warnings);
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

std::optional<std::string> PosixSystemInfo::Ignore(const std::string& value,
                                                   const std::string& reason) {
    if (warned_.insert(value).second) {
        // Control characters shown as escapes; a value far too long only by its start.
        constexpr std::size_t kShown = 300;
        const std::string shown = value.size() > kShown
                                      ? ShowControlCharacters(value.substr(0, kShown)) + "..."
                                      : ShowControlCharacters(value);
        *warnings_ << "Tessaly Wizard: ignoring the registry path \"" << shown << "\": " << reason
                   << ".\n"
                   << std::flush;
    }
    return std::nullopt;
}

std::optional<std::string> PosixSystemInfo::FolderFromRegistryPath(const std::string& value) {
    if (value.empty()) {
        return Ignore(value, "it is empty");
    }
    if (value.find('\0') != std::string::npos) {
        return Ignore(value, "it holds a NUL character");
    }
    if (value.size() >= kRegistryPathBytes) {
        return Ignore(
            value, "it is longer than " + std::to_string(kRegistryPathBytes - 1) + " characters");
    }
    if (value.front() == '/') {
        return value;
    }
    const bool drivePath = value.size() >= 3 &&
                           std::isalpha(static_cast<unsigned char>(value[0])) && value[1] == ':' &&
                           (value[2] == '\\' || value[2] == '/');
    if (!drivePath) {
        return Ignore(value, "it is not an absolute path");
    }
    if (std::toupper(static_cast<unsigned char>(value[0])) != 'C') {
        return Ignore(value, "only drive C:, the Windows image's drive, can be reached");
    }
    const std::optional<std::string> windows = GetWindowsDirectory();
    if (!windows) {
        return Ignore(value, "TESSALY_WINDOWS_DIR names no Windows image to find drive C: in");
    }
    // C:\ is the folder that holds the Windows directory.
    std::string folder = ParentOf(*windows);
    bool exists = true;
    std::size_t start = 3;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find_first_of("\\/", start), value.size());
        const std::string name = value.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name == ".") {
            continue;
        }
        if (name == "..") {
            return Ignore(value, "it climbs out of its folder with \"..\"");
        }
        std::string found = name;
        // A Windows image keeps the letter case its installer chose; Windows ignores it.
        if (exists) {
            exists = false;
            if (DIR* dir = ::opendir(folder.c_str())) {
                while (const dirent* entry = ::readdir(dir)) {
                    if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
                        found = entry->d_name;
                        exists = true;
                        if (found == name) {
                            break;
                        }
                    }
                }
                ::closedir(dir);
            }
        }
        folder += (folder.back() == '/' ? "" : "/") + found;
    }
    return folder.back() == '/' ? folder : folder + '/';
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
