#include "device/IdText.h"

#include <cstdio>
#include <limits>

#include "device/TextRules.h"

namespace tessaly {
namespace {

// What ParseIdText reads: the wrapped value, where reading stopped, and what it met on the way.
struct IdScan {
    std::uint32_t value = 0;
    std::size_t end = 0;
    bool sign = false;
    std::size_t digits = 0;
    bool overflow = false;  // the number does not fit in 32 bits
};

IdScan ScanIdText(std::string_view text) {
    IdScan scan;
    const NumberStart start = ScanNumberStart(text);
    std::size_t i = start.at;
    scan.sign = start.sign;
    unsigned base = 10;
    if (i < text.size() && text[i] == '0') {
        base = 8;
        if (i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            base = 16;
            i += 2;
        }
    }
    // Wraps modulo 2^32, which keeps the low bits every caller uses.
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || digit >= static_cast<int>(base)) {
            break;
        }
        scan.overflow =
            scan.overflow || scan.value > (0xFFFFFFFFu - static_cast<std::uint32_t>(digit)) / base;
        scan.value = scan.value * base + static_cast<std::uint32_t>(digit);
        ++scan.digits;
    }
    if (start.negative) {
        scan.value = 0u - scan.value;
    }
    scan.end = i;
    return scan;
}

}  // namespace

std::int32_t ParseIdText(std::string_view text) {
    return static_cast<std::int32_t>(ScanIdText(text).value);
}

std::optional<std::uint16_t> ParseExactIdText(std::string_view text) {
    const IdScan scan = ScanIdText(text);
    if (scan.sign || scan.digits == 0 || scan.end != text.size() || scan.overflow ||
        scan.value > 0xFFFFu) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(scan.value);
}

std::string NormalizeIdText(std::string_view text) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%04X",
                  static_cast<unsigned>(static_cast<std::uint32_t>(ParseIdText(text)) & 0xFFFFu));
    return buffer;
}

bool IsZeroIdText(std::string_view text) {
    return text == "0x0000";
}

std::string_view IdDigits(std::string_view text) {
    return text.size() <= 4 ? text : text.substr(text.size() - 4);
}

std::optional<int> ScanDecimalInt(std::string_view text) {
    auto [i, negative, sign] = ScanNumberStart(text);
    if (i >= text.size() || text[i] < '0' || text[i] > '9') {
        return std::nullopt;
    }
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kLimit) {
            value = value * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (value < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

}  // namespace tessaly
