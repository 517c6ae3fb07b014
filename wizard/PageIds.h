#pragma once

namespace tessaly {

// Dialog resource numbers of the pages, which navigation answers name.
enum PageId : int {
    kPageWelcome = 102,
    kPageIsMine = 103,
    kPageSquelch = 104,
    kPageFinal = 105,
    kPageUseFtp = 108,
    kPageWelcomeUsb = 109,
    kPageWelcomePxi = 110,
    kPageAfterSaveAction = 111,
};

}  // namespace tessaly
