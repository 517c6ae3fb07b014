#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "system/posix/PosixPlatform.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

TEST(PosixPlatformTest, FilesBehaveAsOnWindows) {
    const testing::TempDir dir;
    const std::string r = dir.path().string() + "/";
    PosixFileSystem files;
    ASSERT_TRUE(files.MakeDirectory(r + "sub"));
    EXPECT_TRUE(files.MakeDirectory(r + "sub"));   // made meanwhile by someone else: fine
    EXPECT_FALSE(files.MakeDirectory(r + "a/b"));  // one level only

    const std::string bytes("a\r\n\0\xE9 more", 9);
    ASSERT_TRUE(files.WriteFile(r + "f", bytes + bytes));
    ASSERT_TRUE(files.WriteFile(r + "g", bytes + bytes));
    ASSERT_TRUE(files.WriteFile(r + "g", bytes));  // emptied first
    EXPECT_TRUE(files.CopyReplacing(r + "g", r + "f"));
    EXPECT_EQ(testing::ReadFileBytes(r + "f"), bytes);
    EXPECT_FALSE(files.CopyReplacing(r + "a", r + "f"));
    EXPECT_FALSE(files.WriteFile(r + "sub", "x"));
    EXPECT_FALSE(files.WriteFile(r + "a/f", "x"));
    EXPECT_TRUE(files.CanOpenForReading(r + "f"));
    EXPECT_FALSE(files.CanOpenForReading(r + "sub"));  // a folder opens on Linux

    // Missing last component: file not found; missing or non-folder one on the way: path not found.
    using enum FileError;
    std::vector<FileError> errors;
    for (const char* path : {"sub", "sub/", "f", "a", "sub/a/", "a/f", "f/a"}) {
        errors.push_back(files.QueryAttributes(r + path).error);
    }
    EXPECT_EQ(errors, (std::vector{None, None, None, FileNotFound, FileNotFound, PathNotFound,
                                   PathNotFound}));
    EXPECT_TRUE(files.QueryAttributes(r + "sub/").isDirectory);
    EXPECT_FALSE(files.QueryAttributes(r + "f").isDirectory);
    EXPECT_FALSE(files.MakeDirectory(r + "f"));  // a file holds the name

    // A read-only file, as chmod 444 makes one, is not replaced, as on Windows; a link is.
    const std::string locked = dir.Write("locked", "old");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
    EXPECT_FALSE(files.WriteFile(locked, "new"));
    EXPECT_FALSE(files.CopyReplacing(r + "g", locked));
    EXPECT_EQ(testing::ReadFileBytes(locked), "old");
    std::filesystem::create_symlink(locked, r + "link");
    EXPECT_TRUE(files.WriteFile(r + "link", "new"));
    EXPECT_EQ(testing::ReadFileBytes(locked), "old");

    // The probe leaves nothing behind.
    EXPECT_TRUE(files.CanWriteFile(r + "sub/x"));
    EXPECT_FALSE(files.CanWriteFile(r + "a/x"));
    EXPECT_EQ(testing::FolderNames(r + "sub"), std::vector<std::string>{});
    EXPECT_EQ(testing::FolderNames(r),
              (std::vector<std::string>{"f", "g", "link", "locked", "sub"}));
}

// Every way a disk can fail under a write, injected below the file system: the target keeps its
// old bytes and no temporary stays; short writes and interruptions are only slower.
TEST(PosixPlatformTest, AFailingDiskLeavesTheOldFileWhole) {
    enum Disk { kShortWrites, kInterrupted, kFullAfter4096, kNoProgress, kLostOnTheWay };
    const std::string bytes(10000, 'n');
    for (const Disk fault :
         {kShortWrites, kInterrupted, kFullAfter4096, kNoProgress, kLostOnTheWay}) {
        SCOPED_TRACE(fault);
        const testing::TempDir dir;
        const std::string r = dir.path().string() + "/";
        const std::string source = dir.Write("source", bytes);
        dir.Write("out/written", "old");
        dir.Write("out/copied", "old");
        int calls = 0;
        DiskCalls disk;
        disk.write = [&](int fd, const void* data, std::size_t size) -> ssize_t {
            const int call = calls++;
            errno = fault == kInterrupted ? EINTR : ENOSPC;
            if (fault == kNoProgress || (fault == kInterrupted && call == 0) ||
                (fault == kFullAfter4096 && call > 0)) {
                return fault == kNoProgress ? 0 : -1;
            }
            const std::size_t most = fault == kShortWrites     ? 7
                                     : fault == kFullAfter4096 ? 4096
                                                               : size;
            return ::write(fd, data, std::min(size, most));
        };
        disk.fsync = [&](int fd) {
            return fault == kLostOnTheWay ? (errno = EIO, -1) : ::fsync(fd);
        };
        PosixFileSystem files(disk);
        const bool saved = fault == kShortWrites || fault == kInterrupted;
        EXPECT_EQ(files.WriteFile(r + "out/written", bytes), saved);
        calls = 0;
        EXPECT_EQ(files.CopyReplacing(source, r + "out/copied"), saved);
        for (const char* name : {"written", "copied"}) {
            EXPECT_EQ(testing::ReadFileBytes(r + "out/" + name), saved ? bytes : "old") << name;
        }
        EXPECT_EQ(testing::FolderNames(r + "out"), (std::vector<std::string>{"copied", "written"}));
    }
}

// A signal that ends the program in the middle of a write takes the temporary with it and still
// ends the program; an ignored one changes nothing, and the write completes.
TEST(PosixPlatformTest, ASignalDuringAWriteRemovesTheTemporaryAndStillEndsTheProgram) {
    const struct {
        int signal;
        bool ignored, copy;
    } cases[] = {{SIGTERM, false, false},
                 {SIGINT, false, true},
                 {SIGHUP, false, false},
                 {SIGHUP, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::strsignal(c.signal) + std::string(c.ignored ? ", ignored" : "") +
                     (c.copy ? ", copying" : ", writing"));
        const testing::TempDir dir;
        const std::string source = dir.Write("source", "new");
        const std::string target = dir.Write("out/target", "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (c.ignored) {
                std::signal(c.signal, SIG_IGN);
            }
            DiskCalls disk;
            disk.write = [&c](int fd, const void* data, std::size_t size) {
                ::raise(c.signal);
                return ::write(fd, data, size);
            };
            PosixFileSystem files(disk);
            const bool saved =
                c.copy ? files.CopyReplacing(source, target) : files.WriteFile(target, "new");
            ::_exit(saved ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (c.ignored) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
        }
        EXPECT_EQ(testing::FolderNames(dir.path() / "out"), std::vector<std::string>{"target"});
        EXPECT_EQ(testing::ReadFileBytes(target), c.ignored ? "new" : "old");
    }
}

// Temporaries of the file's name that a killed run left are removed; one in use (locked, or
// changed in the last minute) and those of other names stay.
TEST(PosixPlatformTest, StaleTemporariesOfTheFileAreRemoved) {
    const testing::TempDir dir;
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    const std::vector<std::string> kept = {".f.Fresh123.tmp",
                                           ".f.Locked12.tmp",
                                           ".g.Stale123.tmp",
                                           ".f.Short12.tmp.x",
                                           ".f.Short1.tmp",
                                           "f.Stale123.tmp",
                                           "f"};
    for (const std::string& name : kept) {
        std::filesystem::last_write_time(dir.Write(name, "x"), old);
    }
    std::filesystem::last_write_time(dir.path() / ".f.Fresh123.tmp",
                                     std::filesystem::file_time_type::clock::now());
    std::filesystem::last_write_time(dir.Write(".f.Stale123.tmp", "x"), old);
    std::filesystem::last_write_time(dir.Write(".f.Stale456.tmp", "x"), old);
    const int locked = ::open((dir.path() / ".f.Locked12.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(locked, LOCK_EX), 0);

    PosixFileSystem files;
    EXPECT_EQ(files.RemoveStaleTemporaries((dir.path() / "f").string()), 2);
    ::close(locked);
    std::vector<std::string> sorted = kept;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(testing::FolderNames(dir.path()), sorted);
}

TEST(PosixPlatformTest, WindowsDirectoryOnlyWhileItIsAFolder) {
    const testing::TempDir dir;
    PosixSystemInfo named(dir.path() / "windows", "/home/u");
    EXPECT_EQ(PosixSystemInfo(dir.Write("windows/w.ini", ""), "/").GetWindowsDirectory(),
              std::nullopt);
    EXPECT_EQ(named.GetWindowsDirectory(), (dir.path() / "windows").string());
    std::filesystem::remove_all(dir.path() / "windows");
    EXPECT_EQ(named.GetWindowsDirectory(), std::nullopt);  // looked at on every call

    EXPECT_EQ(named.DefaultOutputBase(), "/home/u/vxipnp/");
    EXPECT_EQ(PosixSystemInfo(std::nullopt, "/home/u/").DefaultOutputBase(), "/home/u/vxipnp/");
}

TEST(PosixPlatformTest, RegistryPathsOnDriveCMapOntoTheWindowsImage) {
    const testing::TempDir dir;
    const std::string c = dir.path().string() + "/c";
    std::filesystem::create_directories(c + "/Windows");
    std::filesystem::create_directories(c + "/vxipnp/WinNT");
    std::ostringstream warnings;
    PosixSystemInfo image(c + "/Windows/", "/home/u", warnings);
    std::ostringstream noImageWarnings;
    PosixSystemInfo noImage(std::nullopt, "/home/u", noImageWarnings);
    // The value, the folder ("": ignored), the reason given.
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"/opt/vxi", "/opt/vxi", ""},
        {"C:\\VXIPNP\\", c + "/vxipnp/", ""},
        {"c:/vxipnp\\winnt\\New\\\\x", c + "/vxipnp/WinNT/New/x/", ""},
        {"", "", "it is empty"},
        {"vxipnp", "", "it is not an absolute path"},
        {"C:VXIPNP", "", "it is not an absolute path"},
        {"D:\\VXIPNP", "", "only drive C:, the Windows image's drive, can be reached"},
        {"C:\\VXIPNP\\..\\..\\etc", "", "it climbs out of its folder with \"..\""},
        // Windows reads the value into 256 bytes; a NUL would end the path early here.
        {"/" + std::string(254, 'v'), "/" + std::string(254, 'v'), ""},
        {"/" + std::string(255, 'v'), "", "it is longer than 255 characters"},
        {std::string("/opt\0/x", 7), "", "it holds a NUL character"},
    };
    for (const auto& [value, folder, reason] : cases) {
        SCOPED_TRACE(value);
        warnings.str("");
        EXPECT_EQ(image.FolderFromRegistryPath(value).value_or(""), folder);
        EXPECT_EQ(image.FolderFromRegistryPath(value).value_or(""), folder);  // warned once
        EXPECT_EQ(warnings.str(), *reason
                                      ? "Tessaly Wizard: ignoring the registry path \"" +
                                            ShowControlCharacters(value) + "\": " + reason + ".\n"
                                      : "");
    }
    EXPECT_EQ(noImage.FolderFromRegistryPath("C:\\VXIPNP"), std::nullopt);
    EXPECT_NE(noImageWarnings.str().find("TESSALY_WINDOWS_DIR names no Windows image"),
              std::string::npos);
}

}  // namespace
}  // namespace tessaly
