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

// Dialog resource numbers of the wizard's own dialogs; those without a number of their own in
// the original resources take free ones (141 is the Win32 view's help window).
enum DialogId : int {
    kStepEditorDialog = 106,
    kFunctionSelectDialog = 129,
    kAttachedDeviceDialog = 140,
    kDirectoryBrowserDialog = 142,  // the shell's folder picker: no template of its own
};

}  // namespace tessaly
