#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "modulefile/IniFile.h"

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

// IniGetString's text; "-" when not found, and "-stale" if the destination was not emptied.
std::string Get(IniFile& document, std::string_view section, std::string_view key,
                std::size_t size = 4096) {
    std::string text = "stale";
    return IniGetString(document, section, key, text, size) == 1 ? text : "-" + text;
}

TEST(IniLoadTest, GivesTheseSectionsEntriesAndLineNumbers) {
    // Each line end alone, and twice for a blank line. The cases below end without one.
    for (const std::string& end : {"\r\n"s, "\n"s, "\n\r"s, "\r"s, "\0"s}) {
        const std::string bytes = "[S]" + end + "A=1" + end + end + "B=2" + end;
        EXPECT_EQ(Dump(*Load(bytes)), "[S]@1\nA=1@2\nB=2@4\n") << bytes;
    }
    const std::pair<std::string, std::string> cases[] = {
        {"[S]\0\nA=1\n\r\nB=2"s, "[S]@1\nA=1@2\nB=2@4\n"},
        {"\n \t\v\f\n[S]\n; A=1\n  ;B=2\nC=3 ; no comment", "[S]@3\nC=3 ; no comment@6\n"},
        {"[S]\n[NoClose\nA=1\n[]\n[ \t]\nB=2\n[ \tName One \t]  tail=1\nC=3",
         "[S]@1\nA=1@3\nB=2@6\n[Name One]@7\nC=3@8\n"},
        {"k=0\n[S]\nE= \t\v\f\n=1\nNoEquals\n  Key One \t=\t a=b;c \nk==v\nk=w\n[s]\nk=x",
         "[S]@2\nKey One=a=b;c@6\nk==v@7\nk=w@8\n[s]@9\nk=x@10\n"},
        // A CR LF split by the first refill, a line across the next, and characters past the
        // 255th dropped: an '=' there, a header's ']'.
        {"[S]\r\n" + std::string(kIniReadBufferSize - 11, ';') +
             "\r\nY=2\r\nZ=" + std::string(2 * kIniReadBufferSize, 'z') + "\r\nLate" +
             std::string(260, ' ') + "=1\r\nNext=2\r\n[" + std::string(260, 'n') + "]\r\nAfter=3",
         "[S]@1\nY=2@3\nZ=" + std::string(253, 'z') + "@4\nNext=2@6\nAfter=3@8\n"},
    };
    for (const auto& [bytes, dump] : cases) {
        EXPECT_EQ(Dump(*Load(bytes)), dump) << bytes;
    }
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
    EXPECT_EQ(IniLoad(*failed, "/"), kIniReadFailed);  // a directory opens but cannot be read
    FailingSource source;
    EXPECT_EQ(IniLoadFromSource(*failed, source), kIniReadFailed);
    EXPECT_EQ(Dump(*failed), "[S]@1\nA=1@2\n");
}

// Names compare with only ASCII letters upper-cased, byte by byte unsigned.
constexpr const char* kLookupFile =
    "[Zulu]\nbravo=2\n"
    "[Alpha]\nKey=first\nkey=second\nMixed Case=m\nQuoted=\"q v\"\nHalf=\"open\nOne=\"\n"
    "Empty=\"\"\n[alpha]\nOnlyInSecond=x\n[Middle]\ncc=3\naa=1\nbb=2\naab=4\n[\xE9t\xE9]\nxylo=1";

class IniLookupTest : public ::testing::TestWithParam<bool> {};

TEST_P(IniLookupTest, FindsTheFirstMatchAndStripsQuotesAtBothEndsOnly) {
    IniDocument document = Load(kLookupFile, GetParam());
    EXPECT_EQ(document->lastLineNumber, -1);
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

TEST(IniSortTest, SortedDocumentsOrderSectionsAndEntriesByName) {
    EXPECT_EQ(Dump(*Load(kLookupFile, true)),
              "[Alpha]@3\nEmpty=\"\"@10\nHalf=\"open@8\nKey=first@4\nkey=second@5\n"
              "Mixed Case=m@6\nOne=\"@9\nQuoted=\"q v\"@7\n[alpha]@11\nOnlyInSecond=x@12\n"
              "[Middle]@13\naa=1@15\naab=4@17\nbb=2@16\ncc=3@14\n[Zulu]@1\nbravo=2@2\n"
              "[\xE9t\xE9]@18\nxylo=1@19\n");
}

TEST(IniValueTest, TextsDecodeEscapesAndNumbersAreUnsignedDecimal) {
    // A non-hex digit counts as -1: "\xg1" is 16 * -1 + 1, modulo 256.
    const std::pair<const char*, const char*> texts[] = {
        {"\\x41", "A"},     {"\\x4a\\x4A", "JJ"},       {"a\\\\b", "a\\b"},
        {"\\q\\\"", "q\""}, {"1\\n2\\t3", "1\n2\t3"},   {"\\X41", "X41"},
        {"\\xg1", "\xF1"},  {"\\xFF\\x80", "\xFF\x80"}, {"end\\", "end"},
        {"end\\x4", "end"}, {"cut\\x00here", "cut"},    {"\"\\x41\"", "A"},
    };
    const std::pair<const char*, const char*> numbers[] = {
        {" 42 ", "42"}, {"+42", "42"},       {"\"\t7 \"", "7"},     {"0", "0"},
        {"-0", "bad"},  {"0x10", "bad"},     {"4 2", "bad"},        {"+ 42", "bad"},
        {"+", "bad"},   {"\" \t\"", "none"}, {"4294967296", "bad"}, {"04294967295", "4294967295"},
    };
    for (const auto& [value, text] : texts) {
        EXPECT_EQ(Get(*Load("[S]\nK="s + value), "S", "K"), text) << value;
    }
    for (const auto& [value, number] : numbers) {
        std::uint32_t read = 12345;
        const int result = IniGetUnsigned(*Load("[S]\nK="s + value), "S", "K", read);
        const std::string outcome = result == 1                 ? std::to_string(read)
                                    : result == 0               ? "none"
                                    : result == kIniNotUnsigned ? "bad"
                                                                : "?";
        EXPECT_EQ(outcome, number) << value;
        EXPECT_TRUE(result == 1 || read == 12345) << value;  // set only when valid
    }
}

TEST(IniGetStringTest, JoinsNumberedKeysWhenTheKeyIsMissing) {
    std::string file = "[S]\nEsc Line0001=a\\\nEsc Line0002=x41\nBoth=own\nBoth Line0001=x\n";
    std::string whole;
    for (int i = 1; i <= 12; ++i) {
        const std::string part(25, static_cast<char>('a' + i));
        file += (i < 10 ? "long line000" : "Long Line00") + std::to_string(i) + "=" + part + "\n";
        whole += part;
    }
    IniDocument document = Load(file + "Long Line0014=never\n");
    EXPECT_EQ(Get(*document, "S", "Long"), whole);
    EXPECT_EQ(Get(*document, "S", "Long", 256), whole.substr(0, 255));
    EXPECT_EQ(Get(*document, "S", "Long", 0), "");
    EXPECT_EQ(Get(*document, "S", "Esc"), "aA");  // decoded after joining
    EXPECT_EQ(Get(*document, "S", "Both"), "own");
    EXPECT_EQ(Get(*document, "S", "Long Line"), "-");
}

}  // namespace
}  // namespace tessaly
