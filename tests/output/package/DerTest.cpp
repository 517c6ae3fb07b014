#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "output/package/Der.h"
#include "output/package/RsaKey.h"

namespace tessaly::der {
namespace {

using namespace std::string_literals;

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

TEST(DerTest, EncodesTheValuesOfACatalog) {
    const std::tuple<const char*, std::string, std::string> kCases[] = {
        {"short length", Tlv(kOctetString, std::string(127, 'a')).substr(0, 2), "047f"},
        {"one length byte", Tlv(kOctetString, std::string(128, 'a')).substr(0, 3), "048180"},
        {"two length bytes", Tlv(kOctetString, std::string(256, 'a')).substr(0, 4), "04820100"},
        {"signed data OID", Oid("1.2.840.113549.1.7.2"), "06092a864886f70d010702"},
        {"SHA-256 OID", Oid("2.16.840.1.101.3.4.2.1"), "0609608648016503040201"},
        {"zero", Integer(0), "020100"},
        {"127", Integer(127), "02017f"},
        {"128 needs a sign byte", Integer(128), "02020080"},
        {"name/value flags", Integer(0x10010001), "020410010001"},
        {"magnitude with its top bit set", UnsignedInteger("\x00\x00\x80\x01"s), "0203008001"},
        {"BMP string", BmpString("F\xE9"),
         "1e040046"
         "00e9"},
        {"UTF-16 with its zero", OctetString(Utf16LeWithNul("A")),
         "04044100"
         "0000"},
        {"set sorted by encoding, shorter first",
         SetOf({"\x04\x02\x01\x02"s, "\x02\x01\x05"s, "\x04\x01\x01"s}),
         "310a020105040101"
         "04020102"},
        {"last UTC year", Time(FromCivil({2049, 12, 31, 23, 59, 59})),
         "170d" + Hex("491231235959Z")},
        {"first generalized year", Time(FromCivil({2050, 1, 1, 0, 0, 0})),
         "180f" + Hex("20500101000000Z")},
        {"first UTC year", Time(FromCivil({1950, 1, 1, 0, 0, 0})), "170d" + Hex("500101000000Z")},
    };
    for (const auto& [name, encoded, expected] : kCases) {
        EXPECT_EQ(Hex(encoded), expected) << name;
    }
}

TEST(DerTest, ReadsBackTimesAndObjectIdentifiers) {
    const CivilTime kTimes[] = {
        {1970, 1, 1, 0, 0, 0}, {2024, 2, 29, 12, 0, 1}, {2049, 12, 31, 23, 59, 59},
        {2050, 1, 1, 0, 0, 0}, {2124, 1, 1, 0, 0, 0},
    };
    for (const CivilTime& time : kTimes) {
        const std::int64_t moment = FromCivil(time);
        const std::string encoded = Time(moment);
        Reader reader(encoded);
        const auto element = reader.Next();
        ASSERT_TRUE(element);
        EXPECT_EQ(ParseTime(element->tag, element->content), moment) << time.year;
        EXPECT_EQ(ToCivil(moment).day, time.day);
    }
    for (const char* oid : {"1.3.6.1.4.1.311.12.1.3", "2.5.29.37", "2.999.16384"}) {
        const std::string encoded = Oid(oid);
        Reader reader(encoded);
        EXPECT_EQ(OidText(reader.Next()->content), oid);
    }
    EXPECT_FALSE(ParseTime(kUtcTime, "491231235959"));   // no zone
    EXPECT_FALSE(ParseTime(kUtcTime, "491331235959Z"));  // month 13
}

TEST(DerTest, ReaderStopsAtMalformedInput) {
    const std::tuple<const char*, std::string> kCases[] = {
        {"indefinite length", "\x30\x80\x00\x00"s},
        {"content past the end", "\x30\x05\x01"s},
        {"length of length past the end", "\x30\x84\x01"s},
        {"multi-byte tag", "\x1F\x81\x01\x00"s},
        {"single byte", "\x30"s},
    };
    for (const auto& [name, bytes] : kCases) {
        Reader reader(bytes);
        EXPECT_FALSE(reader.Next()) << name;
        EXPECT_TRUE(reader.failed()) << name;
    }
    const std::string sequence = Sequence({Integer(1), OctetString("ab")});
    Reader nested(sequence);
    const auto outer = nested.Next();
    ASSERT_TRUE(outer);
    Reader inner(outer->content);
    EXPECT_EQ(inner.NextIf(kOctetString), std::nullopt);  // the INTEGER comes first
    EXPECT_EQ(inner.NextIf(kInteger)->content, "\x01");
    EXPECT_EQ(inner.NextIf(kOctetString)->content, "ab");
    EXPECT_TRUE(inner.AtEnd());
    EXPECT_FALSE(inner.failed());
}

// The key files a user gives: told apart by their structure, the numbers taken from either form.
TEST(DerTest, ReadsRsaKeyFilesAndTellsOthersApart) {
    std::vector<std::string> numbers = {Integer(0)};  // the version
    for (int i = 1; i <= 8; ++i) {
        numbers.push_back(UnsignedInteger(std::string(1, static_cast<char>(0x80 + i))));
    }
    const std::string pkcs1 = SequenceOf(numbers);
    const auto pkcs8 = [&](const char* algorithm) {
        return Sequence({Integer(0), Sequence({Oid(algorithm), Null()}), OctetString(pkcs1)});
    };
    const std::tuple<const char*, std::string, RsaKeyError> kCases[] = {
        {"PKCS #1", pkcs1, RsaKeyError::None},
        {"PKCS #8", pkcs8("1.2.840.113549.1.1.1"), RsaKeyError::None},
        {"an EC key", pkcs8("1.2.840.10045.2.1"), RsaKeyError::NotRsa},
        {"encrypted",
         Sequence({Sequence({Oid("1.2.840.113549.1.5.13")}), OctetString("cipher text")}),
         RsaKeyError::Encrypted},
        {"a certificate's start", Sequence({Sequence({Integer(2)})}), RsaKeyError::NotAKey},
        {"no DER", "-----BEGIN", RsaKeyError::NotAKey},
    };
    for (const auto& [name, der, error] : kCases) {
        const RsaKeyRead read = ReadRsaPrivateKey(der);
        EXPECT_EQ(read.error, error) << name;
        if (error == RsaKeyError::None) {
            EXPECT_EQ(read.numbers.modulus, "\x81") << name;
            EXPECT_EQ(read.numbers.coefficient, "\x88") << name;
        }
    }
}

}  // namespace
}  // namespace tessaly::der
