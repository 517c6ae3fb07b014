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

// What a script passes must be one whole 16-bit number: no text after the digits, no wrap, no
// sign, no bare prefix.
TEST(IdTextTest, ExactReadingTakesOnlyWholeSixteenBitNumbers) {
    const std::pair<const char*, std::optional<std::uint16_t>> cases[] = {
        {"4660", 0x1234}, {"0x1abc", 0x1ABC},  {"017", 15}, {"0", 0},        {" 0XFFFF", 0xFFFF},
        {"65536", {}},    {"0x100000000", {}}, {"0x", {}},  {"08", {}},      {"12abc", {}},
        {"-1", {}},       {"+1", {}},          {"", {}},    {"0x1234 ", {}}, {"99999999999", {}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseExactIdText(text), expected) << text;
    }
}

}  // namespace
}  // namespace tessaly
