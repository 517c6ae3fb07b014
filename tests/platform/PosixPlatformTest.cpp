#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/posix/PosixPlatform.h"

namespace tessaly {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh temporary folder holding a folder "sub" and a file "file.txt"; removed afterwards.
class PosixFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "posixfs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        std::filesystem::create_directory(At("sub"));
        std::ofstream(At("file.txt"), std::ios::binary) << "old";
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    std::string At(const std::string& relative) const { return root_ + "/" + relative; }

    PosixFileSystem files_;
    std::string root_;
};

TEST_F(PosixFileSystemTest, AttributesReportTheWindowsErrorClasses) {
    struct {
        const char* path;
        FileError error;
        bool isDirectory;
    } const cases[] = {
        {"sub", FileError::None, true},
        {"sub/", FileError::None, true},
        {"file.txt", FileError::None, false},
        {"missing", FileError::FileNotFound, false},
        {"sub/missing", FileError::FileNotFound, false},
        {"sub/missing/", FileError::FileNotFound, false},
        {"missing/x", FileError::PathNotFound, false},
        {"missing/x/y", FileError::PathNotFound, false},
        {"file.txt/x", FileError::PathNotFound, false},
        {"file.txt/x/y", FileError::PathNotFound, false},
    };
    for (const auto& c : cases) {
        const FileAttributes attributes = files_.QueryAttributes(At(c.path));
        EXPECT_EQ(attributes.error, c.error) << c.path;
        EXPECT_EQ(attributes.ok(), c.error == FileError::None) << c.path;
        EXPECT_EQ(attributes.isDirectory, c.isDirectory) << c.path;
    }
}

TEST_F(PosixFileSystemTest, MakeDirectoryCreatesOneLevelOnly) {
    EXPECT_TRUE(files_.MakeDirectory(At("new")));
    EXPECT_TRUE(std::filesystem::is_directory(At("new")));
    EXPECT_FALSE(files_.MakeDirectory(At("new")));
    EXPECT_FALSE(files_.MakeDirectory(At("file.txt")));
    EXPECT_FALSE(files_.MakeDirectory(At("a/b")));
    EXPECT_FALSE(std::filesystem::exists(At("a")));
    EXPECT_TRUE(files_.MakeDirectory(At("sub/inner")));
}

TEST_F(PosixFileSystemTest, WriteFileWritesBytesUnchangedAndTruncates) {
    const std::string bytes("line\r\n\0\xE9\xFF end", 12);
    ASSERT_TRUE(files_.WriteFile(At("out.inf"), bytes));
    EXPECT_EQ(ReadBytes(At("out.inf")), bytes);
    ASSERT_TRUE(files_.WriteFile(At("out.inf"), "x"));
    EXPECT_EQ(ReadBytes(At("out.inf")), "x");
}

TEST_F(PosixFileSystemTest, WriteFileFailsWhereNoFileCanBeCreated) {
    EXPECT_FALSE(files_.WriteFile(At("sub"), "x"));
    EXPECT_FALSE(files_.WriteFile(At("missing/out.inf"), "x"));
    EXPECT_FALSE(files_.WriteFile(At("file.txt/out.inf"), "x"));
    EXPECT_FALSE(std::filesystem::exists(At("missing")));
}

TEST_F(PosixFileSystemTest, CopyReplacingReplacesAnExistingFile) {
    std::ofstream(At("new.inf"), std::ios::binary) << "new\r\n";
    ASSERT_TRUE(files_.CopyReplacing(At("new.inf"), At("file.txt")));
    EXPECT_EQ(ReadBytes(At("file.txt")), "new\r\n");
    EXPECT_TRUE(files_.CopyReplacing(At("new.inf"), At("sub/copy.inf")));
    EXPECT_EQ(ReadBytes(At("sub/copy.inf")), "new\r\n");

    EXPECT_FALSE(files_.CopyReplacing(At("missing.inf"), At("file.txt")));
    EXPECT_EQ(ReadBytes(At("file.txt")), "new\r\n");
    EXPECT_FALSE(files_.CopyReplacing(At("new.inf"), At("sub")));
    EXPECT_FALSE(files_.CopyReplacing(At("new.inf"), At("missing/copy.inf")));
}

TEST_F(PosixFileSystemTest, ReadingAndRemovingNeedAPlainFile) {
    EXPECT_TRUE(files_.CanOpenForReading(At("file.txt")));
    EXPECT_FALSE(files_.CanOpenForReading(At("sub")));
    EXPECT_FALSE(files_.CanOpenForReading(At("missing")));

    EXPECT_TRUE(files_.RemoveFile(At("file.txt")));
    EXPECT_FALSE(std::filesystem::exists(At("file.txt")));
    EXPECT_FALSE(files_.RemoveFile(At("file.txt")));
    EXPECT_FALSE(files_.RemoveFile(At("sub")));
    EXPECT_TRUE(std::filesystem::is_directory(At("sub")));
}

TEST_F(PosixFileSystemTest, WindowsDirectoryOnlyWhenItIsAFolder) {
    struct {
        std::optional<std::string> named;
        std::optional<std::string> expected;
    } const cases[] = {
        {std::nullopt, std::nullopt},
        {At("sub"), At("sub")},
        {At("missing"), std::nullopt},
        {At("file.txt"), std::nullopt},
    };
    for (const auto& c : cases) {
        PosixSystemInfo system(c.named, "/home/user");
        EXPECT_EQ(system.GetWindowsDirectory(), c.expected) << c.named.value_or("(none)");
    }
    std::filesystem::remove_all(At("sub"));
    PosixSystemInfo system(At("sub"), "/home/user");
    EXPECT_EQ(system.GetWindowsDirectory(), std::nullopt);  // looked at on every call
}

TEST(PosixSystemInfoTest, DefaultOutputBaseIsVxipnpInTheHomeFolder) {
    EXPECT_EQ(PosixSystemInfo(std::nullopt, "/home/user").DefaultOutputBase(),
              "/home/user/vxipnp/");
    EXPECT_EQ(PosixSystemInfo(std::nullopt, "/home/user/").DefaultOutputBase(),
              "/home/user/vxipnp/");
}

TEST(PosixSystemInfoTest, EnvironmentNamesHomeAndWindowsDirectory) {
    const std::string temp = std::filesystem::temp_directory_path().string();
    const std::optional<std::string> oldHome =
        std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
    ::setenv("HOME", "/home/tester", 1);
    ::setenv("TESSALY_WINDOWS_DIR", temp.c_str(), 1);
    PosixSystemInfo named = PosixSystemInfo::FromEnvironment();
    ::unsetenv("TESSALY_WINDOWS_DIR");
    PosixSystemInfo unnamed = PosixSystemInfo::FromEnvironment();
    if (oldHome) {
        ::setenv("HOME", oldHome->c_str(), 1);
    }

    EXPECT_EQ(named.DefaultOutputBase(), "/home/tester/vxipnp/");
    EXPECT_EQ(named.GetWindowsDirectory(), temp);
    EXPECT_EQ(unnamed.GetWindowsDirectory(), std::nullopt);
}

}  // namespace
}  // namespace tessaly
