#include <gtest/gtest.h>

#include "output/FolderStatusText.h"

namespace tessaly {
namespace {

TEST(FolderStatusTextTest, LongPathsShowTheirFirst35Characters) {
    const std::string path35(35, 'a');
    const struct {
        std::string path;
        std::string shown;
    } cases[] = {
        {"", ""},
        {"/home/user/vxipnp", "/home/user/vxipnp"},
        {path35, path35},
        {path35 + "b", path35 + "..."},
        {"/home/user/vxipnp/winnt/some-longer-prefix", "/home/user/vxipnp/winnt/some-longer..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortenStatusText(c.path), c.shown) << c.path;
    }
    EXPECT_EQ(ShortenStatusText(std::string(36, 'x')).size(), 38u);
}

}  // namespace
}  // namespace tessaly
