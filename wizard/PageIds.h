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

// Dialog resource numbers of the wizard's own dialogs; the two without a number of their own in
// the original resources take free ones.
enum DialogId : int {
    kStepEditorDialog = 106,
    kFunctionSelectDialog = 129,
    kAttachedDeviceDialog = 140,
    kDirectoryBrowserDialog = 141,
};

}  // namespace tessaly
