#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "system/posix/RegFile.h"
#include "tests/fakes/Golden.h"
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

// One export in each form regedit and editors write: "REGEDIT4" in 8-bit text, version 5.00 in
// UTF-8 with a byte-order mark, and in UTF-16LE. All hold CR LF and LF lines, comments, escapes,
// other types and roots. The last value holds a Latin-1 byte and UTF-8 bytes, kept as they are,
// and in UTF-16 a euro sign and a character beyond the basic plane, each read as one '?'.
const Lookup kLookups[] = {
    {"A\\B\\", "Path", "/opt"}, {"A", "Path", kNoValue},   {"A\\C", "", kNoKey},
    {"A\\B", "Empty", ""},      {"A\\B", "Semi", "a;b"},   {"e", "ESC", "C:\\P F\\"},
    {"E", "Q", "say \"hi\""},   {"E", "Na\"me", "x"},      {"E", "Lone", "a\\nb"},
    {"E", "Eq=Sign", "a=b"},    {"E", "", "def"},          {"E", "D", kNoValue},
    {"E", "After", "read"},     {"E", "A", kNoValue},      {"U", "", kNoKey},
    {"Gone", "", kNoKey},       {".inf", "", kNoKey},      {"B", "7", "5.1.2.3", 8},
    {"B", "8", kNoValue, 8},    {"B", "8", "12345678", 9}, {"W", "N", "\xE9 \xC3\xA9 ? ?!"}};

TEST(RegFileTest, ReadsKeysAndStringValuesOfBothHeadersAndEncodings) {
    for (const char* name : {"regedit4.reg", "regedit5_utf8_bom.reg", "regedit5_utf16.reg"}) {
        std::string error;
        const auto registry = LoadRegFile(testing::GoldenPath(name), error);
        ASSERT_NE(registry, nullptr) << error;
        for (const Lookup& l : kLookups) {
            EXPECT_EQ(Read(*registry, l), l.expected) << name << " " << l.key << " : " << l.name;
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

TEST(RegFileLoadTest, EnvironmentNamesTheFileAndAnUnusableOneIsAnError) {
    testing::TempDir dir;
    const std::string good = "REGEDIT4\n[HKLM\\S\\Early]\n\"A\"=\"1\"\n";
    const std::string fifo = (dir.path() / "fifo.reg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The variable (nullopt: unset), configured, the key's value, the error ("": none).
    const std::tuple<std::optional<std::string>, bool, const char*, const char*> cases[] = {
        {std::nullopt, false, kNoKey, ""},
        {"", false, kNoKey, ""},
        {dir.Write("good.reg", good), true, "1", ""},
        // A partly read file must not leave its well-formed first key behind.
        {dir.Write("bad.reg", good + "nonsense\n"), true, kNoKey,
         "is not a registry export (line 4"},
        {fifo, true, kNoKey, "is not a regular file"},  // at once, not waiting for a writer
    };
    for (const auto& [value, configured, early, error] : cases) {
        SCOPED_TRACE(value.value_or("(unset)"));
        value ? ::setenv(kRegistryVariable, value->c_str(), 1) : ::unsetenv(kRegistryVariable);
        const ConfiguredRegistry loaded = LoadRegistryFromEnvironment();
        EXPECT_EQ(loaded.configured, configured);
        ASSERT_NE(loaded.registry, nullptr);
        EXPECT_EQ(Read(*loaded.registry, {"S\\Early", "A", ""}), early);
        // One sentence naming the file and the variable, or nothing.
        EXPECT_NE(loaded.error.find(error), std::string::npos) << loaded.error;
        EXPECT_EQ(loaded.error.starts_with("The registry file \"" + value.value_or("") +
                                           "\" named by TESSALY_REGISTRY "),
                  *error != 0)
            << loaded.error;
    }
    ::unsetenv(kRegistryVariable);
}

}  // namespace
}  // namespace tessaly
