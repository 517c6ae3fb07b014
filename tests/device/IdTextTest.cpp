#include <gtest/gtest.h>

#include "device/IdText.h"

namespace tessaly {
namespace {

struct NormalizeCase {
    const char* text;
    const char* expected;
};

class NormalizeIdTextTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeIdTextTest, GivesLow16BitsInCanonicalForm) {
    EXPECT_EQ(NormalizeIdText(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NormalizeIdTextTest,
    ::testing::Values(NormalizeCase{"1234", "0x04D2"}, NormalizeCase{"0x1234", "0x1234"},
                      NormalizeCase{"0x1abc", "0x1ABC"}, NormalizeCase{"0X1abc", "0x1ABC"},
                      NormalizeCase{"0x12345", "0x2345"}, NormalizeCase{"-1", "0xFFFF"},
                      NormalizeCase{"017", "0x000F"}, NormalizeCase{" 017", "0x000F"},
                      NormalizeCase{"\t\n0x10", "0x0010"}, NormalizeCase{"xyz", "0x0000"},
                      NormalizeCase{"", "0x0000"}, NormalizeCase{"08", "0x0000"},
                      NormalizeCase{"0x", "0x0000"}, NormalizeCase{"+12", "0x000C"},
                      NormalizeCase{"- 1", "0x0000"}, NormalizeCase{"12abc", "0x000C"},
                      NormalizeCase{"0xFFFFFFFFFFFF1234", "0x1234"}));

TEST(IdTextTest, ZeroIsTheExactCanonicalText) {
    EXPECT_TRUE(IsZeroIdText("0x0000"));
    for (const char* notZero : {"0", "0X0000", "0x00000", " 0x0000", "0x0000 ", ""}) {
        EXPECT_FALSE(IsZeroIdText(notZero)) << notZero;
    }
}

}  // namespace
}  // namespace tessaly
