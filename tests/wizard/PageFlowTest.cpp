#include <gtest/gtest.h>

#include "wizard/PageFlow.h"

namespace tessaly {
namespace {

// Positions in kPageOrder: 0 is the bus page, 7 the FTP page.
TEST(PageFlowTest, AnswersLeadToPagesInSheetOrder) {
    const std::tuple<std::size_t, NavAnswer, bool, std::optional<std::size_t>> cases[] = {
        {0, NavAnswer::Default(), true, 1},
        {4, NavAnswer::Default(), false, 3},
        {0, NavAnswer::Default(), false, std::nullopt},  // no page before the first
        {7, NavAnswer::Default(), true, std::nullopt},   // nor after the last
        {1, NavAnswer::To(kPageAfterSaveAction), true, 6},
        {5, NavAnswer::To(kPageWelcomeUsb), false, 2},
        {5, NavAnswer::Stay(), true, std::nullopt},
        {5, NavAnswer::To(static_cast<PageId>(106)), true, std::nullopt},  // no such page
    };
    for (const auto& [current, answer, forward, expected] : cases) {
        EXPECT_EQ(ResolveAnswer(kPageOrder, current, answer, forward), expected)
            << current << (forward ? " forward" : " back");
    }
}

}  // namespace
}  // namespace tessaly
