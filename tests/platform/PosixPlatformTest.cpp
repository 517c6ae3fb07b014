#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/PosixPlatform.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PosixPlatformTest, FilesBehaveAsOnWindows) {
    const testing::TempDir dir;
    const std::string r = dir.path().string() + "/";
    PosixFileSystem files;
    ASSERT_TRUE(files.MakeDirectory(r + "sub"));
    EXPECT_FALSE(files.MakeDirectory(r + "a/b"));  // one level only

    const std::string bytes("a\r\n\0\xE9 more", 9);
    ASSERT_TRUE(files.WriteFile(r + "f", bytes + bytes));
    ASSERT_TRUE(files.WriteFile(r + "g", bytes + bytes));
    ASSERT_TRUE(files.WriteFile(r + "g", bytes));  // emptied first
    EXPECT_TRUE(files.CopyReplacing(r + "g", r + "f"));
    EXPECT_EQ(Contents(r + "f"), bytes);
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

}  // namespace
}  // namespace tessaly
