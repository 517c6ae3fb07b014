#pragma once

// The Windows headers for the view: every file of this folder is a Windows file. The ANSI
// declarations only: text is bytes in the ANSI code page, as the core holds it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#undef UNICODE
#undef _UNICODE
#include <windows.h>
// Keeps the order: commctrl.h needs windows.h.
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#undef GetWindowsDirectory
