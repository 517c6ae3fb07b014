#include <gtest/gtest.h>

#include "app/PageFlow.h"

namespace tessaly {
namespace {

struct ResolveCase {
    const char* name;
    PageId current;
    NavAnswer answer;
    bool forward;
    std::optional<PageId> expected;  // nullopt: the sheet stays
};

TEST(PageFlowTest, AnswersLeadToPagesInSheetOrder) {
    const ResolveCase cases[] = {
        {"next default from bus page", kPageWelcome, NavAnswer::Default(), true, kPageWelcomePxi},
        {"next default from usb page", kPageWelcomeUsb, NavAnswer::Default(), true, kPageIsMine},
        {"back default from removal", kPageSquelch, NavAnswer::Default(), false, kPageIsMine},
        {"back default from output", kPageFinal, NavAnswer::Default(), false, kPageSquelch},
        {"next default from options", kPageAfterSaveAction, NavAnswer::Default(), true,
         kPageUseFtp},
        {"back default from ftp", kPageUseFtp, NavAnswer::Default(), false, kPageAfterSaveAction},
        {"no page before the first", kPageWelcome, NavAnswer::Default(), false, std::nullopt},
        {"no page after the last", kPageUseFtp, NavAnswer::Default(), true, std::nullopt},
        {"jump forward", kPageWelcomePxi, NavAnswer::To(kPageAfterSaveAction), true,
         kPageAfterSaveAction},
        {"jump back over pages", kPageFinal, NavAnswer::To(kPageWelcomeUsb), false,
         kPageWelcomeUsb},
        {"stay", kPageFinal, NavAnswer::Stay(), true, std::nullopt},
        {"unknown page stays", kPageFinal, NavAnswer::To(static_cast<PageId>(106)), true,
         std::nullopt},
    };
    for (const ResolveCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto from = std::find(std::begin(kPageOrder), std::end(kPageOrder), c.current);
        ASSERT_NE(from, std::end(kPageOrder));
        const auto index = ResolveAnswer(kPageOrder, static_cast<std::size_t>(from - kPageOrder),
                                         c.answer, c.forward);
        if (!c.expected) {
            EXPECT_EQ(index, std::nullopt);
        } else {
            ASSERT_TRUE(index.has_value());
            EXPECT_EQ(kPageOrder[*index], *c.expected);
        }
    }
}

TEST(PageFlowTest, BusAndDevicePagesChooseTheirPath) {
    EXPECT_EQ(NextFromBusPage(kBusPxi), kPageWelcomePxi);
    EXPECT_EQ(NextFromBusPage(kBusUsb), kPageWelcomeUsb);
    EXPECT_EQ(NextFromBusPage(7), kPageWelcomeUsb);  // anything but PXI/PCI
    EXPECT_EQ(NextFromPxiPage(true), kPageIsMine);
    EXPECT_EQ(NextFromPxiPage(false), kPageFinal);

    EXPECT_EQ(BackFromFinalPage(kBusUsb, false), NavAnswer::To(kPageWelcomeUsb));
    EXPECT_EQ(BackFromFinalPage(kBusUsb, true), NavAnswer::To(kPageWelcomeUsb));
    EXPECT_EQ(BackFromFinalPage(kBusPxi, false), NavAnswer::To(kPageWelcomePxi));
    EXPECT_EQ(BackFromFinalPage(kBusPxi, true), NavAnswer::Default());
}

TEST(PageFlowTest, DetectionPageOffersNextOnlyWhenEverySequenceCompares) {
    const DetectSequence compare{0, "C8 BAR0 0x10 0xFF 0x01;", 1};
    const DetectSequence readOnly{1, "R8 BAR0 0x10;", 1};
    const DetectSequence empty{2, "", 0};
    const DetectSequence unterminated{3, "C8 BAR0 0x10 0xFF 0x01", 0};
    const struct {
        std::vector<DetectSequence> sequences;
        unsigned buttons;
    } cases[] = {
        {{}, kButtonBack},
        {{empty}, kButtonBack},
        {{readOnly}, kButtonBack},
        {{unterminated}, kButtonBack},
        {{compare}, kButtonBack | kButtonNext},
        {{compare, compare}, kButtonBack | kButtonNext},
        {{compare, readOnly}, kButtonBack},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.sequences.size()));
        EXPECT_EQ(DetectionPageButtons(c.sequences), c.buttons);
    }
}

TEST(PageFlowTest, FinishTakesNextsPlaceOnTheLastPages) {
    EXPECT_EQ(AfterSavePageButtons(kAfterSaveInstall), kButtonBack | kButtonFinish);
    EXPECT_EQ(AfterSavePageButtons(kAfterSaveFtp), kButtonBack | kButtonNext);
    EXPECT_EQ(AfterSavePageButtons(kAfterSaveOpenFolder), kButtonBack | kButtonFinish);
    EXPECT_EQ(AfterSavePageButtons(kAfterSaveNothing), kButtonBack | kButtonFinish);
    EXPECT_EQ(FtpPageButtons(true), kButtonBack | kButtonDisabledFinish);
    EXPECT_EQ(FtpPageButtons(false), kButtonBack | kButtonFinish);
}

}  // namespace
}  // namespace tessaly
