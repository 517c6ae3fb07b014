#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Distinguished Encoding Rules, as much as the driver package needs: a writer for the values a
// catalog and a certificate hold, and a reader for the certificates it is given. Bytes are held
// in std::string.
namespace tessaly::der {

inline constexpr std::uint8_t kInteger = 0x02;
inline constexpr std::uint8_t kBitString = 0x03;
inline constexpr std::uint8_t kOctetString = 0x04;
inline constexpr std::uint8_t kNull = 0x05;
inline constexpr std::uint8_t kOid = 0x06;
inline constexpr std::uint8_t kUtf8String = 0x0C;
inline constexpr std::uint8_t kPrintableString = 0x13;
inline constexpr std::uint8_t kIa5String = 0x16;
inline constexpr std::uint8_t kUtcTime = 0x17;
inline constexpr std::uint8_t kGeneralizedTime = 0x18;
inline constexpr std::uint8_t kBmpString = 0x1E;
inline constexpr std::uint8_t kSequence = 0x30;
inline constexpr std::uint8_t kSet = 0x31;

// A context-specific tag: constructed for an explicit or a constructed implicit one.
constexpr std::uint8_t ContextTag(unsigned number, bool constructed) {
    return static_cast<std::uint8_t>((constructed ? 0xA0 : 0x80) | number);
}

// Tag, definite length in the shortest form, content.
std::string Tlv(std::uint8_t tag, std::string_view content);

std::string Sequence(std::initializer_list<std::string_view> elements);
std::string SequenceOf(const std::vector<std::string>& elements);
// A SET OF: its elements ordered by their encodings, as DER requires.
std::string SetOf(std::vector<std::string> elements);
// The content of that SET OF, for a SET OF under another tag.
std::string SetOfContent(std::vector<std::string> elements);
std::string Explicit(unsigned number, std::string_view content);

// "1.2.840.113549.1.7.2" as an OBJECT IDENTIFIER.
std::string Oid(std::string_view dotted);
std::string Integer(std::uint64_t value);
// A non-negative INTEGER from big-endian magnitude bytes (a 0 byte is put in front when the
// top bit is set; leading zeros are dropped).
std::string UnsignedInteger(std::string_view bigEndian);
std::string OctetString(std::string_view bytes);
std::string BitString(std::string_view bytes);  // no unused bits
std::string Null();
std::string Utf8String(std::string_view utf8);
// A BMPString (UTF-16 big-endian) of Latin-1 text, and its content alone.
std::string BmpString(std::string_view latin1);
std::string Utf16Be(std::string_view latin1);
// UTCTime for the years 1950 to 2049, GeneralizedTime otherwise: the rule X.509 sets.
std::string Time(std::int64_t secondsSinceEpoch);

// A moment in Coordinated Universal Time, by the calendar.
struct CivilTime {
    int year = 1970;
    unsigned month = 1;  // 1 to 12
    unsigned day = 1;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
};
CivilTime ToCivil(std::int64_t secondsSinceEpoch);
std::int64_t FromCivil(const CivilTime& time);

// Latin-1 text as UTF-16 little-endian with a terminating zero, the form Windows keeps strings
// of catalogs in.
std::string Utf16LeWithNul(std::string_view latin1);

// One encoded element: its tag, its content, and all its bytes.
struct Element {
    std::uint8_t tag = 0;
    std::string_view content;
    std::string_view encoded;
};

// Reads the elements of one level in order. Only definite lengths, single-byte tags and sizes
// that fit the input are accepted; anything else ends the reading with failed() set.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    bool AtEnd() const { return rest_.empty(); }
    bool failed() const { return failed_; }
    // The next element, or nullopt at the end or on malformed input.
    std::optional<Element> Next();
    // The next element when it has `tag`; otherwise nothing is consumed.
    std::optional<Element> NextIf(std::uint8_t tag);

private:
    std::string_view rest_;
    bool failed_ = false;
};

// The dotted form of an OBJECT IDENTIFIER's content; empty when malformed.
std::string OidText(std::string_view content);

// Seconds since the epoch from a UTCTime or GeneralizedTime element's content ("YYMMDDHHMMSSZ"
// or "YYYYMMDDHHMMSSZ"); nullopt when it has another form.
std::optional<std::int64_t> ParseTime(std::uint8_t tag, std::string_view content);

}  // namespace tessaly::der
