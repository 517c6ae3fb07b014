#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gui/win32/Win32Api.h"

namespace tessaly::win32 {

// The view draws with the "A" functions: its texts are bytes in the ANSI code page, as the core
// holds field values and paths. Text the core holds as UTF-8 (device names, notes) passes through
// here; a character the code page lacks is shown by its code point ("U+03A9"), so nothing turns
// silently into "?".
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// The text of a window in the ANSI code page.
std::string WindowText(HWND window);

// What the user put into a field, as UTF-8, read with the one wide call of the view: the "A"
// functions would already have turned what the code page lacks into "?". Used only to decide
// whether the field takes the text, never as the text itself.
std::string TypedTextUtf8(HWND field);

// The characters of `utf8` the ANSI code page lacks, each once; empty when it has them all.
std::string CharactersAnsiLacks(std::string_view utf8);

}  // namespace tessaly::win32
