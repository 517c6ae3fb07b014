#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "modulefile/IniFile.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using namespace std::string_literals;

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

// IniGetString's text, or "<missing>" when the key is not found.
std::string Get(IniFile& document, std::string_view section, std::string_view key,
                std::size_t size = 4096) {
    std::string text = "stale";
    const int found = IniGetString(document, section, key, text, size);
    if (found == 0) {
        EXPECT_EQ(text, "");
        return "<missing>";
    }
    EXPECT_EQ(found, 1);
    return text;
}

struct LoadCase {
    const char* label;
    std::string bytes;
    const char* dump;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.label;
}

class IniLinesTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(IniLinesTest, GivesTheseSectionsEntriesAndLineNumbers) {
    IniDocument document = Load(GetParam().bytes);
    EXPECT_EQ(Dump(*document), GetParam().dump);
}

constexpr const char* kThreeLines = "[S]@1\nA=1@2\nB=2@4\n";

INSTANTIATE_TEST_SUITE_P(
    LineEnds, IniLinesTest,
    ::testing::Values(LoadCase{"CrLf", "[S]\r\nA=1\r\n\r\nB=2\r\n", kThreeLines},
                      LoadCase{"Lf", "[S]\nA=1\n\nB=2\n", kThreeLines},
                      LoadCase{"LfCr", "[S]\n\rA=1\n\r\n\rB=2\n\r", kThreeLines},
                      LoadCase{"Cr", "[S]\rA=1\r\rB=2\r", kThreeLines},
                      LoadCase{"Nul", "[S]\0A=1\0\0B=2"s, kThreeLines},
                      LoadCase{"NoFinalLineEnd", "[S]\r\nA=1\r\n\r\nB=2", kThreeLines},
                      LoadCase{"CrLfCrLfIsOneBlankLine", "[S]\r\n\r\nA=1", "[S]@1\nA=1@3\n"},
                      LoadCase{"LfCrLfLeavesABlankLine", "[S]\n\r\nA=1", "[S]@1\nA=1@3\n"},
                      LoadCase{"LfAfterNulIsPaired", "[S]\0\nA=1"s, "[S]@1\nA=1@2\n"},
                      LoadCase{"LeadingLineEndIsALine", "\n[S]\nA=1", "[S]@2\nA=1@3\n"},
                      LoadCase{"BlankAndWhiteSpaceLinesCount", "\n \t\v\f\n[S]\nA=1",
                               "[S]@3\nA=1@4\n"}),
    [](const auto& p) { return std::string(p.param.label); });

INSTANTIATE_TEST_SUITE_P(
    LineRules, IniLinesTest,
    ::testing::Values(
        LoadCase{"Comments", "[S]\n; A=1\n  ;B=2\nC=3 ; not a comment",
                 "[S]@1\nC=3 ; not a comment@4\n"},
        LoadCase{"HeaderWhiteSpaceAndTrailingText", "[ \tName One \t]  tail=1\nA=1",
                 "[Name One]@1\nA=1@2\n"},
        LoadCase{"BadHeadersKeepTheSectionBefore", "[S]\n[NoClose\nA=1\n[]\n[ \t]\nB=2",
                 "[S]@1\nA=1@3\nB=2@6\n"},
        LoadCase{"KeyRules", "[S]\nEmpty=\n=1\nNoEquals\n  Key One \t=\t a=b;c \nk==v",
                 "[S]@1\nKey One=a=b;c@5\nk==v@6\n"},
        LoadCase{"WhiteSpaceOnlyValue", "[S]\nA= \t\v\f\nB=1", "[S]@1\nB=1@3\n"},
        LoadCase{"KeysBeforeTheFirstSectionAreDropped", "A=1\n[S]\nB=2", "[S]@2\nB=2@3\n"},
        LoadCase{"DuplicatesAreKept", "[S]\nA=1\nA=2\n[s]\nA=3",
                 "[S]@1\nA=1@2\nA=2@3\n[s]@4\nA=3@5\n"}),
    [](const auto& p) { return std::string(p.param.label); });

TEST(IniLoadTest, LinesAreCutAt255CharactersAndTheRestIsDropped) {
    const std::string longValue(300, 'v');
    const std::string bytes = "[S]\nK=" + longValue + "X=1\nLate" + std::string(260, ' ') +
                              "=1\nNext=2\n[" + std::string(260, 'n') + "]\nAfter=3";
    IniDocument document = Load(bytes);
    ASSERT_EQ(document->sections.size(), 1u);
    const std::vector<IniEntry>& entries = document->sections[0].entries;
    ASSERT_EQ(entries.size(), 3u) << Dump(*document);
    EXPECT_EQ(entries[0].key, "K");
    EXPECT_EQ(entries[0].value, std::string(253, 'v'));
    EXPECT_EQ(entries[1].key, "Next");  // the '=' of "Late" stood beyond the cut
    EXPECT_EQ(entries[1].lineNumber, 4);
    EXPECT_EQ(entries[2].key, "After");  // the header lost its ']' and the entry stays in S
    EXPECT_EQ(entries[2].lineNumber, 6);
}

TEST(IniLoadTest, LinesAndPairsSpanningABufferRefill) {
    // Put a CR as the last byte of the first buffer and its LF as the first of the second, and
    // run a long line across the following refill.
    const std::size_t before = kIniReadBufferSize - 4;  // where "Y=2\r\n" starts
    std::string bytes = "[S]\r\n";
    while (bytes.size() + 5 + 16 < before) {
        bytes += "X=1\r\n";
    }
    bytes += std::string(before - bytes.size() - 2, ';') + "\r\n";
    bytes += "Y=2\r\n";
    ASSERT_EQ(bytes.size(), kIniReadBufferSize + 1);
    ASSERT_EQ(bytes[kIniReadBufferSize - 1], '\r');
    bytes += "Z=" + std::string(2 * kIniReadBufferSize, 'z') + "\r\nLast=4";

    IniDocument document = Load(bytes);
    const std::vector<IniEntry>& entries = document->sections.at(0).entries;
    ASSERT_GE(entries.size(), 3u);
    const IniEntry& y = entries[entries.size() - 3];
    EXPECT_EQ(y.key, "Y");
    EXPECT_EQ(entries[entries.size() - 2].key, "Z");
    EXPECT_EQ(entries[entries.size() - 2].lineNumber, y.lineNumber + 1);
    EXPECT_EQ(entries[entries.size() - 2].value.size(), kIniMaxLineLength - 2);
    EXPECT_EQ(entries.back().key, "Last");
    EXPECT_EQ(entries.back().lineNumber, y.lineNumber + 2);
}

// Hands out its bytes in pieces, then reports a stream error.
class FailingSource final : public IniByteSource {
public:
    explicit FailingSource(std::string bytes) : bytes_(std::move(bytes)) {}
    std::size_t Read(char* buffer, std::size_t capacity, bool& failed) override {
        if (bytes_.empty()) {
            failed = true;
            return 0;
        }
        failed = false;
        const std::size_t count = std::min(capacity, bytes_.size());
        bytes_.copy(buffer, count);
        bytes_.erase(0, count);
        return count;
    }

private:
    std::string bytes_;
};

TEST(IniLoadTest, AStreamErrorKeepsWhatWasRead) {
    IniDocument document = IniCreate(false);
    FailingSource source("[S]\nA=1\nB=2 cut by the error");
    EXPECT_EQ(IniLoadFromSource(*document, source), kIniReadFailed);
    EXPECT_EQ(Dump(*document), "[S]@1\nA=1@2\n");
}

TEST(IniLoadTest, FilesReadLikeMemory) {
    testing::TempDir dir;
    const std::string bytes = "; c\r\n[Module]\r\nModelCode=\"0x1234\"\n\rName = A;B\r\r[X]\0k=v"s;
    IniDocument fromFile = IniCreate(false);
    EXPECT_EQ(IniLoad(*fromFile, dir.Write("m.ini", bytes)), 0);
    EXPECT_EQ(Dump(*fromFile), Dump(*Load(bytes)));
    EXPECT_EQ(Dump(*fromFile), "[Module]@2\nModelCode=\"0x1234\"@3\nName=A;B@4\n[X]@6\nk=v@7\n");
}

TEST(IniLoadTest, OpenAndReadFailures) {
    testing::TempDir dir;
    IniDocument document = IniCreate(false);
    EXPECT_EQ(IniLoad(*document, (dir.path() / "missing.ini").string()), kIniOpenFailed);
    // A directory opens on this system but cannot be read.
    EXPECT_EQ(IniLoad(*document, dir.path().string()), kIniReadFailed);
    EXPECT_TRUE(document->sections.empty());
}

struct CompareCase {
    const char* a;
    const char* b;
    int sign;
};

TEST(IniCompareNamesTest, IgnoresCaseAndWhiteSpaceAtTheEnds) {
    const CompareCase cases[] = {
        {"Key", "key", 0},   {"Key", " \tKEY", 0}, {"Key", "Key \t\v", 0}, {"Key", "Key x", -1},
        {"Ke y", "Key", -1}, {"A", "B", -1},       {"b", "A", 1},          {"", " ", 0},
        {"abc", "ab", 1},    {"\xE9", "\xC9", 1},  // only ASCII letters change case
        {"Z", "\xE9", -1},   {"A", "A\x01", -1},   {"A_", "a_", 0},
    };
    for (const CompareCase& c : cases) {
        const int forward = IniCompareNames(c.a, c.b);
        const int backward = IniCompareNames(c.b, c.a);
        EXPECT_EQ((forward > 0) - (forward < 0), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ((backward > 0) - (backward < 0), -c.sign) << c.b << " vs " << c.a;
    }
}

constexpr const char* kLookupFile =
    "[Zeta]\nb=2\n"
    "[Alpha]\nKey=first\nkey=second\nMixed Case=m\nQuoted=\"q v\"\nHalf=\"open\nOne=\"\n"
    "Empty=\"\"\n"
    "[alpha]\nOnlyInSecond=x\n"
    "[Mid]\nc=3\na=1\nb=2\n";

class IniLookupTest : public ::testing::TestWithParam<bool> {};

TEST_P(IniLookupTest, FindsTheFirstMatchInFileOrder) {
    IniDocument document = Load(kLookupFile, GetParam());
    IniFile& doc = *document;
    EXPECT_EQ(Get(doc, "Alpha", "KEY"), "first");
    EXPECT_EQ(Get(doc, " alpha ", "\tkey"), "first");
    EXPECT_EQ(Get(doc, "ALPHA", "mixed case"), "m");
    EXPECT_EQ(Get(doc, "Alpha", "Mixedcase"), "<missing>");
    EXPECT_EQ(Get(doc, "Alpha", "OnlyInSecond"), "<missing>");  // the second [alpha] is hidden
    EXPECT_EQ(Get(doc, "Mid", "a"), "1");
    EXPECT_EQ(Get(doc, "Mid", "b"), "2");
    EXPECT_EQ(Get(doc, "Mid", "c"), "3");
    EXPECT_EQ(Get(doc, "Zeta", "b"), "2");
    EXPECT_EQ(Get(doc, "Nowhere", "b"), "<missing>");
    EXPECT_EQ(IniSectionExists(doc, "ZETA"), 1);
    EXPECT_EQ(IniSectionExists(doc, "Zet"), 0);
    EXPECT_EQ(IniSectionExists(doc, ""), 0);
    EXPECT_EQ(IniKeyExists(doc, "mid", "C"), 1);
    EXPECT_EQ(IniKeyExists(doc, "mid", "d"), 0);
    EXPECT_EQ(IniKeyExists(doc, "none", "a"), 0);
}

TEST_P(IniLookupTest, StripsQuotesOnlyWhenTheyStandAtBothEnds) {
    IniDocument document = Load(kLookupFile, GetParam());
    EXPECT_EQ(Get(*document, "Alpha", "Quoted"), "q v");
    EXPECT_EQ(Get(*document, "Alpha", "Half"), "\"open");
    EXPECT_EQ(Get(*document, "Alpha", "One"), "\"");
    EXPECT_EQ(Get(*document, "Alpha", "Empty"), "");
}

TEST_P(IniLookupTest, RecordsTheLineOfTheLastEntryFound) {
    IniDocument document = Load(kLookupFile, GetParam());
    EXPECT_EQ(document->lastLineNumber, -1);
    Get(*document, "Alpha", "key");
    EXPECT_EQ(document->lastLineNumber, 4);
    Get(*document, "Alpha", "nothing");
    EXPECT_EQ(document->lastLineNumber, 4);
    Get(*document, "Mid", "b");
    EXPECT_EQ(document->lastLineNumber, 16);
}

INSTANTIATE_TEST_SUITE_P(UnsortedAndSorted, IniLookupTest, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Sorted" : "Unsorted"; });

TEST(IniSortTest, SortedDocumentsOrderSectionsAndEntriesByName) {
    IniDocument document = Load(kLookupFile, true);
    EXPECT_EQ(Dump(*document),
              "[Alpha]@3\nEmpty=\"\"@10\nHalf=\"open@8\nKey=first@4\nkey=second@5\n"
              "Mixed Case=m@6\nOne=\"@9\nQuoted=\"q v\"@7\n"
              "[alpha]@11\nOnlyInSecond=x@12\n"
              "[Mid]@13\na=1@15\nb=2@16\nc=3@14\n"
              "[Zeta]@1\nb=2@2\n");
}

struct EscapeCase {
    const char* value;
    std::string expected;
};

TEST(IniGetStringTest, DecodesEscapes) {
    const EscapeCase cases[] = {
        {"\\x41", "A"},     {"\\x4a\\x4A", "JJ"},       {"a\\\\b", "a\\b"},
        {"\\q\\\"", "q\""}, {"1\\n2\\t3", "1\n2\t3"},   {"\\X41", "X41"},
        {"\\xg1", "\xF1"},  // a non-digit counts as -1: 16 * -1 + 1, modulo 256
        {"\\xgg", "\xEF"},  {"\\xFF\\x80", "\xFF\x80"}, {"end\\", "end"},
        {"end\\x", "end"},  {"end\\x4", "end"},         {"cut\\x00here", "cut"},
        {"\"\\x41\"", "A"},
    };
    std::string file = "[S]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        file += "K" + std::to_string(i) + "=" + cases[i].value + "\n";
    }
    IniDocument document = Load(file);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Get(*document, "S", "K" + std::to_string(i)), cases[i].expected)
            << cases[i].value;
    }
}

TEST(IniGetStringTest, JoinsNumberedKeysWhenTheKeyIsMissing) {
    const std::string part(200, 'p');
    std::string file = "[S]\nLong Line0001=" + part + "\nlong line0002=" + part +
                       "\nLong Line0004=never\n"
                       "Esc Line0001=a\\\nEsc Line0002=x41\n"
                       "Both=own\nBoth Line0001=parts\n";
    for (int i = 1; i <= 12; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Many Line%04d=%d,", i, i);
        file += std::string(name) + "\n";
    }
    IniDocument document = Load(file);
    EXPECT_EQ(Get(*document, "S", "Long"), part + part);
    EXPECT_EQ(Get(*document, "S", "Long", 256), (part + part).substr(0, 255));
    EXPECT_EQ(Get(*document, "S", "Esc"), "aA");  // escapes are decoded after joining
    EXPECT_EQ(Get(*document, "S", "Both"), "own");
    EXPECT_EQ(Get(*document, "S", "Many"), "1,2,3,4,5,6,7,8,9,10,11,12,");
    EXPECT_EQ(Get(*document, "S", "Long Line"), "<missing>");
}

TEST(IniGetStringTest, DestinationHoldsSizeMinusOneCharacters) {
    IniDocument document = Load("[S]\nK=abcdef\n");
    EXPECT_EQ(Get(*document, "S", "K", 4), "abc");
    EXPECT_EQ(Get(*document, "S", "K", 7), "abcdef");
    EXPECT_EQ(Get(*document, "S", "K", 1), "");
    EXPECT_EQ(Get(*document, "S", "K", 0), "");
}

struct UnsignedCase {
    const char* value;
    int result;
    std::uint32_t number;
};

TEST(IniGetUnsignedTest, ReadsUnsignedDecimalNumbers) {
    const UnsignedCase cases[] = {
        {" 42 ", 1, 42},
        {"+42", 1, 42},
        {"\"\t7 \"", 1, 7},
        {"0", 1, 0},
        {"4294967295", 1, 4294967295u},
        {"000000000000004294967295", 1, 4294967295u},
        {"4294967296", kIniNotUnsigned, 0},
        {"99999999999999999999999", kIniNotUnsigned, 0},
        {"-1", kIniNotUnsigned, 0},
        {"-0", kIniNotUnsigned, 0},
        {"0x10", kIniNotUnsigned, 0},
        {"4 2", kIniNotUnsigned, 0},
        {"+ 42", kIniNotUnsigned, 0},
        {"+", kIniNotUnsigned, 0},
        {"12abc", kIniNotUnsigned, 0},
        {"\"\"", 0, 0},
        {"\" \t\"", 0, 0},
    };
    std::string file = "[S]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        file += "K" + std::to_string(i) + "=" + cases[i].value + "\n";
    }
    IniDocument document = Load(file);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::uint32_t value = 12345;
        EXPECT_EQ(IniGetUnsigned(*document, "S", "K" + std::to_string(i), value), cases[i].result)
            << cases[i].value;
        EXPECT_EQ(value, cases[i].result == 1 ? cases[i].number : 12345u) << cases[i].value;
    }
    std::uint32_t value = 0;
    EXPECT_EQ(IniGetUnsigned(*document, "S", "Missing", value), 0);
}

}  // namespace
}  // namespace tessaly
