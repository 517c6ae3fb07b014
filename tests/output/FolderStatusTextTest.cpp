#include <gtest/gtest.h>

#include "output/FolderStatusText.h"

namespace tessaly {
namespace {

TEST(FolderStatusTextTest, LongPathsShowTheirFirst35Characters) {
    const std::string path35(35, 'a');
    EXPECT_EQ(ShortenStatusText(""), "");
    EXPECT_EQ(ShortenStatusText(path35), path35);
    EXPECT_EQ(ShortenStatusText(path35 + "b"), path35 + "...");
}

}  // namespace
}  // namespace tessaly
