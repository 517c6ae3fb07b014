#pragma once

#include <string_view>

namespace tessaly {

// White space as the C locale's isspace sees it.
inline bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Compares ASCII letters without regard to case; other bytes must match exactly.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        x = (x >= 'a' && x <= 'z') ? static_cast<char>(x - 'a' + 'A') : x;
        y = (y >= 'a' && y <= 'z') ? static_cast<char>(y - 'a' + 'A') : y;
        if (x != y) {
            return false;
        }
    }
    return true;
}

}  // namespace tessaly
