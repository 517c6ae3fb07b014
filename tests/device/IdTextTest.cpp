#include <gtest/gtest.h>

#include "device/IdText.h"

namespace tessaly {
namespace {

// ParseIdText is also the step editor's number reader; its rules are pinned here.
TEST(IdTextTest, NormalizeGivesLow16BitsInCanonicalForm) {
    const std::pair<const char*, const char*> cases[] = {{"1234", "0x04D2"},
                                                         {"0X1abc", "0x1ABC"},
                                                         {"0x12345", "0x2345"},
                                                         {"-1", "0xFFFF"},
                                                         {"017", "0x000F"},
                                                         {"08", "0x0000"},
                                                         {"\t\n0x10", "0x0010"},
                                                         {"", "0x0000"},
                                                         {"0x", "0x0000"},
                                                         {"+12", "0x000C"},
                                                         {"- 1", "0x0000"},
                                                         {"12abc", "0x000C"},
                                                         {"0xFFFFFFFFFFFF1234", "0x1234"}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(NormalizeIdText(text), expected) << text;
    }
    EXPECT_TRUE(IsZeroIdText("0x0000"));
    for (const char* notZero : {"0", "0X0000", "0x00000", " 0x0000", "0x0000 ", ""}) {
        EXPECT_FALSE(IsZeroIdText(notZero)) << notZero;
    }
}

}  // namespace
}  // namespace tessaly
