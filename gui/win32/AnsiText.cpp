#include "gui/win32/AnsiText.h"

#include <cstdio>
#include <vector>

namespace tessaly::win32 {
namespace {

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<std::size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(),
                          static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8Of(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    std::string text(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size,
                                                                    nullptr, 0, nullptr, nullptr)),
                     '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), static_cast<int>(text.size()),
                          nullptr, nullptr);
    return text;
}

// One character in the ANSI code page, or nullopt when the code page lacks it (no look-alike
// stands in for it).
std::optional<std::string> AnsiCharacter(std::wstring_view character) {
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, character.data(),
                                             static_cast<int>(character.size()), bytes,
                                             sizeof bytes, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    return std::string(bytes, static_cast<std::size_t>(length));
}

// The characters of `wide`, a surrogate pair counted as one.
std::vector<std::wstring_view> Characters(std::wstring_view wide) {
    std::vector<std::wstring_view> characters;
    for (std::size_t i = 0; i < wide.size();) {
        const bool pair = i + 1 < wide.size() && wide[i] >= 0xD800 && wide[i] < 0xDC00 &&
                          wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000;
        characters.push_back(wide.substr(i, pair ? 2 : 1));
        i += pair ? 2 : 1;
    }
    return characters;
}

unsigned CodePoint(std::wstring_view character) {
    if (character.size() == 2) {
        return 0x10000u + ((static_cast<unsigned>(character[0]) - 0xD800u) << 10) +
               (static_cast<unsigned>(character[1]) - 0xDC00u);
    }
    return static_cast<unsigned>(character[0]);
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string ansi;
    const std::wstring wide = Widen(utf8, CP_UTF8);
    for (const std::wstring_view character : Characters(wide)) {
        if (const std::optional<std::string> bytes = AnsiCharacter(character)) {
            ansi += *bytes;
        } else {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", CodePoint(character));
            ansi += name;
        }
    }
    return ansi;
}

std::string AnsiToUtf8(std::string_view ansi) {
    return Utf8Of(Widen(ansi, CP_ACP));
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string TypedTextUtf8(HWND field) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return Utf8Of(text);
}

std::string CharactersAnsiLacks(std::string_view utf8) {
    std::string lacking;
    const std::wstring wide = Widen(utf8, CP_UTF8);
    for (const std::wstring_view character : Characters(wide)) {
        const std::string text = Utf8Of(character);
        if (!AnsiCharacter(character) && lacking.find(text) == std::string::npos) {
            lacking += text;
        }
    }
    return lacking;
}

}  // namespace tessaly::win32
