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

// The whole flow from each page: the bus, the interrupts and an immediate generation choose it.
TEST(PageFlowTest, BusInterruptsAndGenerationChooseThePath) {
    const NavAnswer stayInOrder = NavAnswer::Default();
    const std::tuple<PageId, FlowFacts, NavAnswer, NavAnswer> rows[] = {
        {kPageWelcome, {.bus = Bus::PxiPci}, NavAnswer::To(kPageWelcomePxi), stayInOrder},
        {kPageWelcome, {.bus = Bus::Usb}, NavAnswer::To(kPageWelcomeUsb), stayInOrder},
        {kPageWelcomePxi,
         {.generatesInterrupts = true},
         NavAnswer::To(kPageIsMine),
         NavAnswer::To(kPageWelcome)},
        {kPageWelcomePxi, {}, NavAnswer::To(kPageFinal), NavAnswer::To(kPageWelcome)},
        {kPageWelcomePxi,
         {.generatesInterrupts = true, .generatedAtOnce = true},
         NavAnswer::To(kPageAfterSaveAction),
         NavAnswer::To(kPageWelcome)},
        {kPageWelcomeUsb,
         {.bus = Bus::Usb},
         NavAnswer::To(kPageFinal),
         NavAnswer::To(kPageWelcome)},
        {kPageIsMine, {.generatesInterrupts = true}, stayInOrder, NavAnswer::To(kPageWelcomePxi)},
        {kPageFinal,
         {.bus = Bus::Usb, .generatesInterrupts = true},
         stayInOrder,
         NavAnswer::To(kPageWelcomeUsb)},
        {kPageFinal, {.bus = Bus::PxiPci}, stayInOrder, NavAnswer::To(kPageWelcomePxi)},
        {kPageFinal, {.bus = Bus::PxiPci, .generatesInterrupts = true}, stayInOrder, stayInOrder},
    };
    for (const auto& [page, facts, next, back] : rows) {
        EXPECT_EQ(NextFrom(page, facts), next) << page;
        EXPECT_EQ(BackFrom(page, facts), back) << page;
    }
}

TEST(PageFlowTest, DetectionPageOffersNextOnlyWhenEverySequenceCompares) {
    const DetectSequence compare{0, "C8 BAR0 0x10 0xFF 0x01;", 1};
    const DetectSequence readOnly{1, "R8 BAR0 0x10;", 1};
    // What makes a sequence compare is pinned in StepStringsTest (HasCompareStep).
    const std::pair<std::vector<DetectSequence>, unsigned> cases[] = {
        {{}, kButtonBack},
        {{compare, compare}, kButtonBack | kButtonNext},
        {{compare, readOnly}, kButtonBack},
        {{readOnly, compare}, kButtonBack},
    };
    for (const auto& [sequences, buttons] : cases) {
        EXPECT_EQ(DetectionPageButtons(sequences), buttons) << sequences.size();
    }
}

}  // namespace
}  // namespace tessaly
