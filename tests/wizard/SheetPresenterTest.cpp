#include "tests/wizard/SheetHarness.h"

namespace tessaly::testing {
namespace {

using SheetPresenterTest = SheetHarness;

// The paths through the sheet; kPxiIrq has one complete detection sequence, kFreshIrq none yet.
enum Path { kPxi, kPxiIrq, kFreshIrq, kUsb };

// Pages numbered in sheet order: the title and buttons on activation, where the focus goes, and
// the page Next and Back lead to (the same page: the button does nothing or is not offered).
// Cancel closes every page at once, asking nothing.
TEST_F(SheetPresenterTest, EveryPageShowsItsButtonsAndLeadsOnAndBack) {
    const std::tuple<int, Path, const char*, const char*, int, int> rows[] = {
        {1, kPxi, "Hardware Bus", "(back) next", 2, 1},
        {1, kUsb, "Hardware Bus", "(back) next", 3, 1},
        {2, kPxi, "PXI - Basic Device Information", "back next", 6, 1},
        {2, kPxiIrq, "PXI - Basic Device Information", "back next", 4, 1},
        {3, kUsb, "USB - Basic Device Information", "back next", 6, 1},
        {4, kPxiIrq, "PXI - Interrupt Detection Information", "back next", 5, 2},
        {4, kFreshIrq, "PXI - Interrupt Detection Information", "back (next)", 4, 2},
        {5, kPxiIrq, "PXI - Interrupt Removal Information", "back next", 6, 4},
        {6, kPxi, "PXI - Output Files", "back next", 7, 2},
        {6, kPxiIrq, "PXI - Output Files", "back next", 7, 5},
        {6, kUsb, "USB - Output Files", "back next", 7, 3},
        {7, kPxi, "Installation Options", "back finish", 7, 6},
        {8, kPxi, "FTP ", "back (finish)", 8, 7},
    };
    for (const auto& [page, path, title, buttons, next, back] : rows) {
        for (const bool forward : {true, false}) {
            SCOPED_TRACE(::testing::Message()
                         << page << "/" << path << (forward ? " next" : " back"));
            model = WizardModel{};
            model.device.BusType = path == kUsb ? Bus::Usb : Bus::PxiPci;
            model.device.GeneratesInterrupts = path == kPxiIrq || path == kFreshIrq;
            model.device.DetectSequences.assign(path == kPxiIrq, {0, "C8 BAR0 0x0 0xFF 0x1;", 1});
            Open(kPageOrder[page - 1]);
            EXPECT_EQ(sheetView.title, "Tessaly Wizard - " + std::string(title));
            EXPECT_EQ(Shown(), buttons);
            // Enter goes on at once; without Next the focus waits on "Add a step after".
            const bool forwardOffered = std::string(buttons).find(" (") == std::string::npos;
            EXPECT_EQ(sheetView.focus, path == kFreshIrq ? ""
                                       : forwardOffered  ? "forward"
                                                         : "first");
            EXPECT_EQ(View().focus,
                      path == kFreshIrq ? std::optional(kAddAfterButton) : std::nullopt);
            forward ? Next() : Back();
            EXPECT_EQ(Page(), kPageOrder[(forward ? next : back) - 1]);
            EXPECT_TRUE(sheet->Cancel());
            EXPECT_TRUE(prompter.messages.empty());
        }
    }
}

// Finish is answered only where it is offered, and closes only when the page says so.
TEST_F(SheetPresenterTest, FinishOnlyWhereOffered) {
    Open(kPageWelcomePxi);
    EXPECT_FALSE(Finish());
    Open(kPageUseFtp);
    EXPECT_FALSE(Finish());  // disabled without a host name
    Open(kPageAfterSaveAction);
    Check(kNothingChoice);
    EXPECT_TRUE(Finish());
}

}  // namespace
}  // namespace tessaly::testing
