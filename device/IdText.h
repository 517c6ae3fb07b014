#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// Reads the number at the start of `text` as the "%i" input conversion does (white space,
// sign, 0x for hexadecimal, a leading 0 for octal, else decimal), wrapping to 32 bits.
// Nothing readable gives 0.
std::int32_t ParseIdText(std::string_view text);

// The identifier when the whole text is one number from 0 to 0xFFFF in a form ParseIdText reads
// (decimal, 0x hexadecimal or octal, white space before it, no sign); nullopt for anything else,
// where ParseIdText would quietly stop, wrap or take the low bits.
std::optional<std::uint16_t> ParseExactIdText(std::string_view text);

// The low 16 bits of ParseIdText(text) as "0x%04X".
std::string NormalizeIdText(std::string_view text);

// An ID counts as zero only when its text is exactly "0x0000".
bool IsZeroIdText(std::string_view text);

// The last four characters of an ID text (all of it when shorter): the digits every writer uses.
std::string_view IdDigits(std::string_view text);

// Reads a decimal integer at the start of `text` as "%d" does (white space, optional sign,
// digits; the rest is ignored); nullopt when there is none. Saturates at the int range.
std::optional<int> ScanDecimalInt(std::string_view text);

}  // namespace tessaly
