#include "output/package/Der.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

namespace tessaly::der {
namespace {

void AppendLength(std::string& out, std::size_t length) {
    if (length < 0x80) {
        out.push_back(static_cast<char>(length));
        return;
    }
    std::string bytes;
    for (std::size_t rest = length; rest != 0; rest >>= 8) {
        bytes.insert(bytes.begin(), static_cast<char>(rest & 0xFF));
    }
    out.push_back(static_cast<char>(0x80 | bytes.size()));
    out += bytes;
}

void AppendBase128(std::string& out, std::uint64_t value) {
    std::string bytes(1, static_cast<char>(value & 0x7F));
    for (value >>= 7; value != 0; value >>= 7) {
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    }
    out += bytes;
}

std::string TwoDigits(unsigned value) {
    char text[3];
    std::snprintf(text, sizeof text, "%02u", value % 100);
    return text;
}

// The number made of `count` decimal digits at `at`; nullopt when one is not a digit.
std::optional<unsigned> Digits(std::string_view text, std::size_t at, std::size_t count) {
    unsigned value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return value;
}

}  // namespace

std::string Tlv(std::uint8_t tag, std::string_view content) {
    std::string out(1, static_cast<char>(tag));
    AppendLength(out, content.size());
    out.append(content);
    return out;
}

std::string Sequence(std::initializer_list<std::string_view> elements) {
    std::string content;
    for (std::string_view element : elements) {
        content.append(element);
    }
    return Tlv(kSequence, content);
}

std::string SequenceOf(const std::vector<std::string>& elements) {
    std::string content;
    for (const std::string& element : elements) {
        content += element;
    }
    return Tlv(kSequence, content);
}

std::string SetOf(std::vector<std::string> elements) {
    return Tlv(kSet, SetOfContent(std::move(elements)));
}

std::string SetOfContent(std::vector<std::string> elements) {
    // Unsigned byte order, the shorter first when one is a prefix of the other.
    std::sort(elements.begin(), elements.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
            });
    });
    std::string content;
    for (const std::string& element : elements) {
        content += element;
    }
    return content;
}

std::string Explicit(unsigned number, std::string_view content) {
    return Tlv(ContextTag(number, true), content);
}

std::string Oid(std::string_view dotted) {
    std::vector<std::uint64_t> arcs(1, 0);
    for (char c : dotted) {
        if (c == '.') {
            arcs.push_back(0);
        } else {
            arcs.back() = arcs.back() * 10 + static_cast<std::uint64_t>(c - '0');
        }
    }
    std::string content;
    AppendBase128(content, arcs[0] * 40 + (arcs.size() > 1 ? arcs[1] : 0));
    for (std::size_t i = 2; i < arcs.size(); ++i) {
        AppendBase128(content, arcs[i]);
    }
    return Tlv(kOid, content);
}

std::string Integer(std::uint64_t value) {
    std::string bytes;
    for (std::uint64_t rest = value; rest != 0; rest >>= 8) {
        bytes.insert(bytes.begin(), static_cast<char>(rest & 0xFF));
    }
    return UnsignedInteger(bytes);
}

std::string UnsignedInteger(std::string_view bigEndian) {
    while (!bigEndian.empty() && bigEndian.front() == '\0') {
        bigEndian.remove_prefix(1);
    }
    std::string content;
    if (bigEndian.empty() || (static_cast<unsigned char>(bigEndian.front()) & 0x80) != 0) {
        content.push_back('\0');
    }
    content.append(bigEndian);
    return Tlv(kInteger, content);
}

std::string OctetString(std::string_view bytes) {
    return Tlv(kOctetString, bytes);
}

std::string BitString(std::string_view bytes) {
    std::string content(1, '\0');
    content.append(bytes);
    return Tlv(kBitString, content);
}

std::string Null() {
    return Tlv(kNull, {});
}

std::string Utf8String(std::string_view utf8) {
    return Tlv(kUtf8String, utf8);
}

std::string BmpString(std::string_view latin1) {
    return Tlv(kBmpString, Utf16Be(latin1));
}

std::string Utf16Be(std::string_view latin1) {
    std::string content;
    for (char c : latin1) {
        content.push_back('\0');
        content.push_back(c);
    }
    return content;
}

std::string Time(std::int64_t secondsSinceEpoch) {
    const CivilTime t = ToCivil(secondsSinceEpoch);
    const std::string rest = TwoDigits(t.month) + TwoDigits(t.day) + TwoDigits(t.hour) +
                             TwoDigits(t.minute) + TwoDigits(t.second) + "Z";
    if (t.year >= 1950 && t.year <= 2049) {
        return Tlv(kUtcTime, TwoDigits(static_cast<unsigned>(t.year % 100)) + rest);
    }
    char year[8];
    std::snprintf(year, sizeof year, "%04d", t.year);
    return Tlv(kGeneralizedTime, year + rest);
}

CivilTime ToCivil(std::int64_t secondsSinceEpoch) {
    using namespace std::chrono;
    const sys_seconds moment{seconds(secondsSinceEpoch)};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss<seconds> clock{moment - day};
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            static_cast<unsigned>(clock.hours().count()),
            static_cast<unsigned>(clock.minutes().count()),
            static_cast<unsigned>(clock.seconds().count())};
}

std::int64_t FromCivil(const CivilTime& time) {
    using namespace std::chrono;
    const sys_days day{year{time.year} / month{time.month} / std::chrono::day{time.day}};
    return day.time_since_epoch() / seconds(1) + time.hour * 3600 + time.minute * 60 + time.second;
}

std::string Utf16LeWithNul(std::string_view latin1) {
    std::string out;
    for (char c : latin1) {
        out.push_back(c);
        out.push_back('\0');
    }
    out.append(2, '\0');
    return out;
}

std::optional<Element> Reader::Next() {
    if (failed_ || rest_.size() < 2) {
        failed_ = failed_ || !rest_.empty();
        return std::nullopt;
    }
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(rest_[i]); };
    Element element;
    element.tag = byte(0);
    std::size_t length = byte(1);
    std::size_t header = 2;
    if ((element.tag & 0x1F) == 0x1F || length == 0x80) {
        failed_ = true;  // a multi-byte tag or an indefinite length
        return std::nullopt;
    }
    if (length > 0x80) {
        const std::size_t count = length & 0x7F;
        if (count > sizeof(std::size_t) - 1 || rest_.size() < 2 + count) {
            failed_ = true;
            return std::nullopt;
        }
        length = 0;
        for (std::size_t i = 0; i < count; ++i) {
            length = (length << 8) | byte(2 + i);
        }
        header += count;
    }
    if (length > rest_.size() - header) {
        failed_ = true;
        return std::nullopt;
    }
    element.content = rest_.substr(header, length);
    element.encoded = rest_.substr(0, header + length);
    rest_.remove_prefix(header + length);
    return element;
}

std::optional<Element> Reader::NextIf(std::uint8_t tag) {
    if (rest_.empty() || static_cast<std::uint8_t>(rest_.front()) != tag) {
        return std::nullopt;
    }
    return Next();
}

std::string OidText(std::string_view content) {
    std::string text;
    std::uint64_t value = 0;
    bool first = true;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const auto byte = static_cast<unsigned char>(content[i]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) != 0) {
            if (i + 1 == content.size()) {
                return {};
            }
            continue;
        }
        if (first) {
            const std::uint64_t top = value < 80 ? value / 40 : 2;
            text = std::to_string(top) + "." + std::to_string(value - top * 40);
            first = false;
        } else {
            text += "." + std::to_string(value);
        }
        value = 0;
    }
    return text;
}

std::optional<std::int64_t> ParseTime(std::uint8_t tag, std::string_view content) {
    const bool utc = tag == kUtcTime;
    if ((!utc && tag != kGeneralizedTime) || content.size() != (utc ? 13u : 15u) ||
        content.back() != 'Z') {
        return std::nullopt;
    }
    const std::size_t yearDigits = utc ? 2 : 4;
    const auto year = Digits(content, 0, yearDigits);
    const auto month = Digits(content, yearDigits, 2);
    const auto day = Digits(content, yearDigits + 2, 2);
    const auto hour = Digits(content, yearDigits + 4, 2);
    const auto minute = Digits(content, yearDigits + 6, 2);
    const auto second = Digits(content, yearDigits + 8, 2);
    if (!year || !month || !day || !hour || !minute || !second || *month < 1 || *month > 12 ||
        *day < 1 || *day > 31 || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    CivilTime time;
    time.year = static_cast<int>(utc ? (*year < 50 ? 2000 + *year : 1900 + *year) : *year);
    time.month = *month;
    time.day = *day;
    time.hour = *hour;
    time.minute = *minute;
    time.second = *second;
    return FromCivil(time);
}

}  // namespace tessaly::der
