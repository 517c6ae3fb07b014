#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "system/MemoryRegistry.h"
#include "system/posix/RegFile.h"
#include "tests/fakes/AllocationMeter.h"
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
        RegFileError error;
        EXPECT_EQ(ParseRegFile(bytes, error), nullptr) << bytes;
        EXPECT_EQ(error.line, 1u + std::count(bytes.begin(), bytes.end(), '\n')) << bytes;
        EXPECT_FALSE(error.reason.empty()) << bytes;
    }
}

// Files of the largest shapes: each reads in a few times its size (the file's own bytes beside
// an index of its keys), whatever the depth or number of keys, values and blank lines.
TEST(RegFileTest, HostileFilesReadInAFewTimesTheirSize) {
    constexpr std::size_t kSize = std::size_t{2} << 20;
    const auto fill = [](std::string text, const auto& line) {
        for (std::size_t i = 0; text.size() < kSize; ++i) {
            text += line(i);
        }
        return text;
    };
    std::string deep = "REGEDIT4\n[HKLM";
    for (int level = 0; level < 300000; ++level) {
        deep += "\\k";
    }
    const std::string deepKey = deep.substr(deep.find('\\') + 1);
    const struct {
        const char* name;
        std::string bytes;
        Lookup lookup;
    } rows[] = {
        {"blank lines",
         fill("REGEDIT4\n[HKLM\\K]\n\"V\"=\"x\"\n", [](std::size_t) { return "\n"; }),
         {"K", "V", "x"}},
        {"CR LF blank lines",
         fill("REGEDIT4\r\n[HKLM\\K]\r\n\"V\"=\"x\"\r\n", [](std::size_t) { return "\r\n"; }),
         {"K", "V", "x"}},
        // Destroying a tree of 300,000 levels one level inside the other overflowed the stack.
        {"one key 300,000 levels deep", deep + "]\n\"V\"=\"deep\"\n", {deepKey, "V", "deep"}},
        {"many keys",
         fill("REGEDIT4\n", [](std::size_t i) { return "[HKLM\\" + std::to_string(i) + "]\n"; }),
         {"1000", "", kNoValue}},
        {"many keys, each 64 levels deep",
         fill("REGEDIT4\n",
              [](std::size_t i) {
                  std::string key = "[HKLM\\" + std::to_string(i);
                  for (int level = 0; level < 64; ++level) {
                      key += "\\a";
                  }
                  return key + "]\n";
              }),
         {"7\\a\\a", "", kNoValue}},
        {"many values",
         fill("REGEDIT4\n[HKLM\\K]\n",
              [](std::size_t i) {
                  return "\"" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\n";
              }),
         {"K", "100000", "100000"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string bytes = row.bytes;
        const std::size_t size = bytes.size();
        std::size_t peak = 0;
        {
            testing::AllocationMeter meter;
            RegFileError error;
            std::unique_ptr<Registry> registry = ParseRegFile(std::move(bytes), error);
            ASSERT_NE(registry, nullptr) << error.line << ": " << error.reason;
            peak = meter.Peak();
            EXPECT_EQ(Read(*registry, row.lookup), row.lookup.expected);
        }
        // Besides the bytes it was given.
        EXPECT_LE(peak, 2 * size) << peak;
    }
}

TEST(MemoryRegistryTest, AKeyNested300000LevelsDeepIsFoundAndDestroyed) {
    std::string path;
    for (int level = 0; level < 300000; ++level) {
        path += "k\\";
    }
    {
        MemoryRegistry registry;
        registry.SetString(path, "V", "deep");
        EXPECT_EQ(Read(registry, {path, "V", "deep"}), "deep");
    }
}

TEST(RegFileLoadTest, MemoryRunningOutIsAnErrorNamingTheFile) {
    testing::TempDir dir;
    const std::string path = dir.Write("big.reg", "REGEDIT4\n" + std::string(1 << 20, '\n'));
    std::string error;
    {
        testing::AllocationMeter meter;
        meter.Limit(512 << 10);
        EXPECT_EQ(LoadRegFile(path, error), nullptr);
    }
    EXPECT_EQ(error, "The registry file \"" + path +
                         "\" named by TESSALY_REGISTRY does not fit into the memory available.");
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
