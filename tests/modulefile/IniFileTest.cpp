#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "modulefile/IniFile.h"
#include "tests/fakes/Golden.h"

namespace tessaly {
namespace {

using namespace std::string_literals;
using testing::GoldenPath;
using testing::MatchesGolden;
using testing::ReadFileBytes;

// Sections and entries with their line numbers, one per line, in document order.
std::string Dump(const IniFile& document) {
    std::string out;
    for (const IniSection& section : document.sections) {
        out += "[" + section.name + "]@" + std::to_string(section.lineNumber) + "\n";
        for (const IniEntry& entry : section.entries) {
            out += entry.key + "=" + entry.value + "@" + std::to_string(entry.lineNumber) + "\n";
        }
    }
    return out;
}

IniDocument Load(std::string_view bytes, bool sorted = false) {
    IniDocument document = IniCreate(sorted);
    EXPECT_EQ(IniLoadFromMemory(*document, bytes), 0);
    return document;
}

// IniGetString's text with room for n - 1 characters; "-" when not found, and "-stale" if the
// destination was not emptied.
std::string Get(IniFile& d, std::string_view section, std::string_view key, std::size_t n = 4096) {
    std::string text = "stale";
    return IniGetString(d, section, key, text, n) == 1 ? text : "-" + text;
}

TEST(IniLoadTest, GivesTheseSectionsEntriesAndLineNumbers) {
    // Each line end alone and twice for a blank line, blank and comment lines, malformed headers
    // and entries, an entry before the first header.
    EXPECT_TRUE(MatchesGolden("ini_lines_dump.txt",
                              Dump(*Load(ReadFileBytes(GoldenPath("ini_lines.ini"))))));
    // A CR LF split by the first refill, a line across the next, and characters past the 255th
    // dropped: an '=' there, a header's ']'.
    const std::string bytes = "[S]\r\n" + std::string(kIniReadBufferSize - 11, ';') +
                              "\r\nY=2\r\nZ=" + std::string(2 * kIniReadBufferSize, 'z') +
                              "\r\nLate" + std::string(260, ' ') + "=1\r\nNext=2\r\n[" +
                              std::string(260, 'n') + "]\r\nAfter=3";
    EXPECT_EQ(Dump(*Load(bytes)),
              "[S]@1\nY=2@3\nZ=" + std::string(253, 'z') + "@4\nNext=2@6\nAfter=3@8\n");
}

// Hands out its bytes, then reports a stream error.
struct FailingSource final : IniByteSource {
    std::string bytes = "[S]\nA=1\nB=2 cut by the error";
    std::size_t Read(char* buffer, std::size_t capacity, bool& failed) override {
        failed = bytes.empty();
        return std::exchange(bytes, "").copy(buffer, capacity);  // all of it fits the buffer
    }
};

TEST(IniLoadTest, FailuresKeepWhatWasRead) {
    IniDocument failed = IniCreate(false);
    EXPECT_EQ(IniLoad(*failed, "/no such folder/m.ini"), kIniOpenFailed);
    // A folder does not open (Windows) or opens and cannot be read (POSIX).
    const int folder = IniLoad(*failed, "/");
    EXPECT_TRUE(folder == kIniOpenFailed || folder == kIniReadFailed) << folder;
    FailingSource source;
    EXPECT_EQ(IniLoadFromSource(*failed, source), kIniReadFailed);
    EXPECT_EQ(Dump(*failed), "[S]@1\nA=1@2\n");
}

// ini_lookup.ini holds sections [Zulu], [Alpha], [alpha], [Middle] and [\xE9t\xE9] with entries
// in no order; names compare with only ASCII letters upper-cased, byte by byte unsigned.
class IniLookupTest : public ::testing::TestWithParam<bool> {};

TEST_P(IniLookupTest, KeepsOrSortsTheFileFindsTheFirstMatchAndStripsQuotesAtBothEndsOnly) {
    IniDocument document = Load(ReadFileBytes(GoldenPath("ini_lookup.ini")), GetParam());
    const char* dump = GetParam() ? "ini_lookup_sorted.txt" : "ini_lookup_unsorted.txt";
    EXPECT_TRUE(MatchesGolden(dump, Dump(*document)));
    EXPECT_EQ(Get(*document, "Middle", "bb") + Get(*document, "Alpha", "nothing"), "2-");
    EXPECT_EQ(document->lastLineNumber, 16);  // of the last entry found

    // The second [alpha] is hidden.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Alpha", "KEY", "first"},  {" alpha ", "\tKey ", "first"}, {"Alpha", "Half", "\"open"},
        {"Alpha", "One", "\""},     {"Alpha", "Empty", ""},         {"Middle", "aab", "4"},
        {"Nowhere", "bb", "-"},     {"Middle", "dd", "-"},          {"Alpha", "OnlyInSecond", "-"},
        {"\xE9t\xE9", "XYLO", "1"}, {"\xC9T\xC9", "xylo", "-"},     {"ALPHA", "mixed case", "m"},
    };
    for (const auto& [section, key, text] : cases) {
        EXPECT_EQ(Get(*document, section, key), text) << section << "/" << key;
        EXPECT_EQ(IniKeyExists(*document, section, key), text != "-"s) << key;
    }
    EXPECT_EQ(IniSectionExists(*document, "ZULU"), 1);
    EXPECT_EQ(IniSectionExists(*document, "Zul"), 0);
}

INSTANTIATE_TEST_SUITE_P(UnsortedAndSorted, IniLookupTest, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Sorted" : "Unsorted"; });

TEST(IniValueTest, TextsDecodeEscapesAndNumbersAreUnsignedDecimal) {
    // A non-hex digit counts as -1: "\xg1" is 16 * -1 + 1, modulo 256.
    const std::pair<const char*, const char*> texts[] = {
        {"\\x41", "A"},     {"\\x4a\\x4A", "JJ"},       {"a\\\\b", "a\\b"},
        {"\\q\\\"", "q\""}, {"1\\n2\\t3", "1\n2\t3"},   {"\\X41", "X41"},
        {"\\xg1", "\xF1"},  {"\\xFF\\x80", "\xFF\x80"}, {"end\\", "end"},
        {"end\\x4", "end"}, {"cut\\x00here", "cut"},    {"\"\\x41\"", "A"},
    };
    // The value, the result, the number read; 9 when none is.
    constexpr int bad = kIniNotUnsigned;
    const std::tuple<const char*, int, std::uint32_t> numbers[] = {
        {" 42 ", 1, 42}, {"+42", 1, 42},    {"\"\t7 \"", 1, 7},     {"0", 1, 0},
        {"-0", bad, 9},  {"0x10", bad, 9},  {"4 2", bad, 9},        {"+ 42", bad, 9},
        {"+", bad, 9},   {"\" \t\"", 0, 9}, {"4294967296", bad, 9}, {"04294967295", 1, 4294967295},
    };
    for (const auto& [value, text] : texts) {
        EXPECT_EQ(Get(*Load("[S]\nK="s + value), "S", "K"), text) << value;
    }
    for (const auto& [value, result, number] : numbers) {
        std::uint32_t read = 9;
        const int got = IniGetUnsigned(*Load("[S]\nK="s + value), "S", "K", read);
        EXPECT_EQ(std::pair(got, read), std::pair(result, number)) << value;
    }
}

TEST(IniGetStringTest, JoinsNumberedKeysWhenTheKeyIsMissing) {
    IniDocument document = Load(ReadFileBytes(GoldenPath("ini_numbered_keys.ini")));
    std::string whole;  // Line0001 to Line0012; Line0014 is past the gap
    for (char part = 'b'; part <= 'm'; ++part) {
        whole += std::string(25, part);
    }
    EXPECT_EQ(Get(*document, "S", "Long"), whole);
    EXPECT_EQ(Get(*document, "S", "Long", 256), whole.substr(0, 255));
    EXPECT_EQ(Get(*document, "S", "Long", 0), "");
    EXPECT_EQ(Get(*document, "S", "Esc"), "aA");  // decoded after joining
    EXPECT_EQ(Get(*document, "S", "Both"), "own");
    EXPECT_EQ(Get(*document, "S", "Long Line"), "-");
}

}  // namespace
}  // namespace tessaly
