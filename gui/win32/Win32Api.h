#pragma once

// The Windows headers for the view: every file of this folder is a Windows file. The ANSI
// declarations only: text is bytes in the ANSI code page, as the core holds it.
#undef UNICODE
#undef _UNICODE
#include "system/win32/WindowsApi.h"
// Keeps the order: commctrl.h needs windows.h.
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
