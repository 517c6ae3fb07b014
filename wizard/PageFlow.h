#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "device/DeviceDescription.h"
#include "wizard/PageIds.h"
#include "wizard/SheetView.h"

namespace tessaly {

// A page's answer to Next or Back: a page by its dialog number, the neighbour in sheet order,
// or stay.
struct NavAnswer {
    enum class Kind { Default, Stay, Page };
    Kind kind = Kind::Default;
    PageId page = kPageWelcome;

    static NavAnswer Default() { return {Kind::Default, kPageWelcome}; }
    static NavAnswer Stay() { return {Kind::Stay, kPageWelcome}; }
    static NavAnswer To(PageId page) { return {Kind::Page, page}; }

    friend bool operator==(const NavAnswer&, const NavAnswer&) = default;
};

// The pages in sheet order.
inline constexpr PageId kPageOrder[] = {kPageWelcome,         kPageWelcomePxi, kPageWelcomeUsb,
                                        kPageIsMine,          kPageSquelch,    kPageFinal,
                                        kPageAfterSaveAction, kPageUseFtp};

// The index of the page an answer leads to from `current`, or nullopt to stay (also for an
// unknown page or a neighbour past either end).
std::optional<std::size_t> ResolveAnswer(std::span<const PageId> order, std::size_t current,
                                         NavAnswer answer, bool forward);

// What the path through the sheet depends on.
struct FlowFacts {
    Bus bus = Bus::PxiPci;
    bool generatesInterrupts = false;
    // The PXI/PCI page wrote every file itself (a loaded file, not to be reviewed).
    bool generatedAtOnce = false;
};

// Where Next and Back lead from a page whose own checks passed: the whole flow of the sheet.
NavAnswer NextFrom(PageId page, const FlowFacts& facts);
NavAnswer BackFrom(PageId page, const FlowFacts& facts);

// Interrupt detection page: Next only while there is a sequence and each holds a Compare step.
unsigned DetectionPageButtons(const std::vector<DetectSequence>& sequences);

// Installation options: the choice that leads on to the FTP page.
inline constexpr int kAfterSaveInstall = 0;
inline constexpr int kAfterSaveFtp = 1;
inline constexpr int kAfterSaveOpenFolder = 2;
inline constexpr int kAfterSaveNothing = 3;
unsigned AfterSavePageButtons(int choice);

// FTP page: Finish only with a host name.
unsigned FtpPageButtons(bool hostNameEmpty);

}  // namespace tessaly
