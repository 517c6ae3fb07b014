#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/RegFile.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

using namespace std::string_literals;

constexpr const char* kNoKey = "(no key)";
constexpr const char* kNoValue = "(no value)";

struct Lookup {
    std::string key, name, expected;
    std::size_t buffer = 256;
};

std::string Read(Registry& registry, const Lookup& l) {
    auto key = registry.OpenLocalMachineKey(l.key);
    return key ? key->QueryString(l.name, l.buffer).value_or(kNoValue) : kNoKey;
}

// regedit's UTF-16LE export: byte-order mark, then each code unit low byte first.
std::string Utf16Le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t u : text) {
        bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    }
    return bytes;
}

// Everything after the header: CR LF and LF lines, comments, escapes, other types and roots.
const std::string kBody =
    "\r\n; comment\r\n\r\n   \r\n  [HKEY_LOCAL_MACHINE\\A\\B]  \r\n\"Path\"=\"/opt\"\n"
    "\"Empty\"=\"\"\n\t; indented\r\n  \"Semi\"=\"a;b\"\t\r\n[hklm\\E]\n"
    "\"Esc\"=\"C:\\\\P F\\\\\"\n\"Q\"=\"say \\\"hi\\\"\"\n\"Na\\\"me\"=\"x\"\n\"Lone\"=\"a\\nb\"\n"
    "\"Eq=Sign\" = \"a=b\"\n@=\"def\"\n\"D\"=dword:00000010\r\n\"B\"=hex:01,02,\\\r\n  03\r\n"
    "\"X\"=hex(2):25,00,\\\r\n  6f,00,\\\r\n  00,00\r\n\"M\"=HEX(7):41,00\n\"G\"=-\n"
    "\"After\"=\"read\"\n[-HKLM\\Gone]\n\"A\"=\"g\"\n[HKEY_CURRENT_USER\\U]\n\"A\"=\"u\"\n"
    "[HKEY_CLASSES_ROOT\\.inf]\n@=\"inffile\"\n[HKEY_Local_Machine\\B]\n\"7\"=\"5.1.2.3\"\n"
    "\"8\"=\"12345678\"\n";

const Lookup kLookups[] = {
    {"A\\B\\", "Path", "/opt"}, {"A", "Path", kNoValue},   {"A\\C", "", kNoKey},
    {"A\\B", "Empty", ""},      {"A\\B", "Semi", "a;b"},   {"e", "ESC", "C:\\P F\\"},
    {"E", "Q", "say \"hi\""},   {"E", "Na\"me", "x"},      {"E", "Lone", "a\\nb"},
    {"E", "Eq=Sign", "a=b"},    {"E", "", "def"},          {"E", "D", kNoValue},
    {"E", "After", "read"},     {"E", "A", kNoValue},      {"U", "", kNoKey},
    {"Gone", "", kNoKey},       {".inf", "", kNoKey},      {"B", "7", "5.1.2.3", 8},
    {"B", "8", kNoValue, 8},    {"B", "8", "12345678", 9}, {"W", "N", "\xE9 \xC3\xA9 ? ?!"}};

TEST(RegFileTest, ReadsKeysAndStringValuesOfBothHeadersAndEncodings) {
    const std::string v5 = "Windows Registry Editor Version 5.00" + kBody;
    const std::string files[] = {
        "\nREGEDIT4" + kBody + "[HKLM\\W]\n\"N\"=\"\xE9 \xC3\xA9 ? ?!\"\n",
        "\xEF\xBB\xBF" + v5 + "[HKLM\\W]\n\"N\"=\"\xE9 \xC3\xA9 ? ?!\"\n",
        Utf16Le(std::u16string(v5.begin(), v5.end()) +
                u"[HKLM\\W]\r\n\"N\"=\"\u00e9 \u00c3\u00a9 \u20ac \U0001F600!\"\r\n")};
    for (const std::string& bytes : files) {
        SCOPED_TRACE(bytes.substr(0, 12));
        MemoryRegistry registry;
        RegFileError error;
        ASSERT_TRUE(ParseRegFile(bytes, registry, error)) << error.line << ": " << error.reason;
        for (const Lookup& l : kLookups) {
            EXPECT_EQ(Read(registry, l), l.expected) << l.key << " : " << l.name;
        }
    }
}

TEST(RegFileTest, MalformedFilesNameTheirLastLine) {
    std::vector<std::string> files = {"", "Windows Registry Editor Version 4.00",
                                      "\xFE\xFF\0R\0E\0G"s, "\xFF\xFER\0E\0G"s,
                                      "REGEDIT4\n\"A\"=\"1\""};
    for (const char* line :
         {"\"A\"=\"open", "\"A\"=\"a\\\"", "\"A=\"1", "\"A\" \"1\"", "\"A\"=bogus:1",
          "\"A\"=\"1\" 2", "[HKLM\\A", "A=1", "\"H\"=hex:01,\\\n  02\n  03"}) {
        files.push_back(std::string("REGEDIT4\r\n[HKLM\\A]\r\n") + line);
    }
    for (const std::string& bytes : files) {
        MemoryRegistry registry;
        RegFileError error;
        EXPECT_FALSE(ParseRegFile(bytes, registry, error)) << bytes;
        EXPECT_EQ(error.line, 1u + std::count(bytes.begin(), bytes.end(), '\n')) << bytes;
        EXPECT_FALSE(error.reason.empty()) << bytes;
    }
}

TEST(RegFileLoadTest, EnvironmentNamesTheFileAndUnusableFilesGiveAnEmptyRegistry) {
    testing::TempDir dir;
    const std::string good = "REGEDIT4\n[HKLM\\S\\Early]\n\"A\"=\"1\"\n";
    // The variable (nullopt: unset), configured, the key's value, the warning ("": none).
    const std::tuple<std::optional<std::string>, bool, const char*, const char*> cases[] = {
        {std::nullopt, false, kNoKey, ""},
        {"", false, kNoKey, ""},
        {dir.Write("good.reg", good), true, "1", ""},
        // A partly read file must not leave its well-formed first key behind.
        {dir.Write("bad.reg", good + "nonsense\n"), true, kNoKey, "line 4"},
        {(dir.path() / "none.reg").string(), true, kNoKey, "cannot read"},
        {dir.path().string(), true, kNoKey, "cannot read"},
    };
    for (const auto& [value, configured, early, warning] : cases) {
        SCOPED_TRACE(value.value_or("(unset)"));
        value ? ::setenv(kRegistryVariable, value->c_str(), 1) : ::unsetenv(kRegistryVariable);
        std::ostringstream warnings;
        const ConfiguredRegistry loaded = LoadRegistryFromEnvironment(warnings);
        EXPECT_EQ(loaded.configured, configured);
        ASSERT_NE(loaded.registry, nullptr);
        EXPECT_EQ(Read(*loaded.registry, {"S\\Early", "A", ""}), early);
        // One line naming the file, or nothing.
        const std::string text = warnings.str();
        EXPECT_NE(text.find(warning), std::string::npos) << text;
        EXPECT_EQ(text.find('"' + value.value_or("") + '"') != std::string::npos, *warning != 0);
        EXPECT_EQ(text.find('\n'), *warning ? text.size() - 1 : std::string::npos) << text;
    }
    ::unsetenv(kRegistryVariable);
}

}  // namespace
}  // namespace tessaly
