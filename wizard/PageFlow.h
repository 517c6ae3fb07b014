#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "device/DeviceDescription.h"
#include "wizard/PageIds.h"

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

// The wizard buttons a page asks for; Finish and disabled Finish take Next's place.
enum WizardButton : unsigned {
    kButtonBack = 1u << 0,
    kButtonNext = 1u << 1,
    kButtonFinish = 1u << 2,
    kButtonDisabledFinish = 1u << 3,
};

// The pages in sheet order.
inline constexpr PageId kPageOrder[] = {kPageWelcome,         kPageWelcomePxi, kPageWelcomeUsb,
                                        kPageIsMine,          kPageSquelch,    kPageFinal,
                                        kPageAfterSaveAction, kPageUseFtp};

// The index of the page an answer leads to from `current`, or nullopt to stay (also for an
// unknown page or a neighbour past either end).
std::optional<std::size_t> ResolveAnswer(std::span<const PageId> order, std::size_t current,
                                         NavAnswer answer, bool forward);

// Bus selection page: the device information page for the bus.
PageId NextFromBusPage(int busType);

// PXI/PCI page after its checks passed and no immediate generation was asked for.
PageId NextFromPxiPage(bool generatesInterrupts);

// Output files page: USB goes back to its page, PXI/PCI without interrupts skips both
// interrupt pages.
NavAnswer BackFromFinalPage(int bus, bool generatesInterrupts);

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
