#pragma once

// The Windows headers, for the .cpp files of this folder only: they define macros (min, max,
// GetWindowsDirectory) that clash with names of ours, so no header of ours includes them.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef GetWindowsDirectory
