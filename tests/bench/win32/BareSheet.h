#pragma once

// The one page of the bare sheet and its controls.
#define IDD_BARE_PAGE 101
#define IDC_BARE_NAME 1001
#define IDC_BARE_CHECK 1002
