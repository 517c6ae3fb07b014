#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"

namespace tessaly {
namespace {

TEST(Win32SystemInfoTest, TheWindowsDirectoryHoldsTheInfFolder) {
    Win32SystemInfo system;
    Win32FileSystem files;
    const auto windows = system.GetWindowsDirectory();
    ASSERT_TRUE(windows);
    EXPECT_TRUE(files.QueryAttributes(*windows + "\\inf").isDirectory);
}

}  // namespace
}  // namespace tessaly
