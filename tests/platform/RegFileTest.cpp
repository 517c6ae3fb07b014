#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/RegFile.h"

namespace tessaly {
namespace {

// What one lookup in a parsed registry should give.
struct Expect {
    std::string key;
    bool keyOpens = true;
    std::string name;
    std::optional<std::string> value;  // nullopt: the value does not read
    std::size_t buffer = 256;
};

Expect Value(std::string key, std::string name, std::string value, std::size_t buffer = 256) {
    return {std::move(key), true, std::move(name), std::move(value), buffer};
}
Expect NoValue(std::string key, std::string name, std::size_t buffer = 256) {
    return {std::move(key), true, std::move(name), std::nullopt, buffer};
}
Expect NoKey(std::string key) {
    return {std::move(key), false, "", std::nullopt, 0};
}

// regedit's UTF-16LE export: byte-order mark, then each code unit low byte first.
std::string Utf16Le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

template <typename Case>
std::string CaseLabel(const ::testing::TestParamInfo<Case>& param) {
    return param.param.label;
}

struct ParseCase {
    const char* label;
    std::string bytes;
    std::vector<Expect> expects;
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c) {
    return out << c.label;
}

class RegFileParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(RegFileParseTest, ReadsKeysAndStringValues) {
    MemoryRegistry registry;
    RegFileError error;
    ASSERT_TRUE(ParseRegFile(GetParam().bytes, registry, error))
        << "line " << error.line << ": " << error.reason;
    for (const Expect& e : GetParam().expects) {
        auto key = registry.OpenLocalMachineKey(e.key);
        ASSERT_EQ(key != nullptr, e.keyOpens) << e.key;
        if (key) {
            EXPECT_EQ(key->QueryString(e.name, e.buffer), e.value)
                << e.key << " : \"" << e.name << "\" in " << e.buffer << " bytes";
        }
    }
}

const char* const kVersion5LfText =
    "Windows Registry Editor Version 5.00\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Vantorix\\5.1.2]\n"
    "\"Path\"=\"/opt/vantorix\"\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RegFileParseTest,
    ::testing::Values(
        ParseCase{"Version5WithLf",
                  kVersion5LfText,
                  {Value("SOFTWARE\\Quorvane\\Vantorix\\5.1.2\\", "Path", "/opt/vantorix"),
                   NoValue("SOFTWARE\\Quorvane\\Vantorix", "Path"),
                   NoKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.3")}},
        ParseCase{"Regedit4WithCrLf",
                  "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tool]\r\n"
                  "\"InstDir\"=\"/srv/vxipnp\"\r\n\"Empty\"=\"\"\r\n",
                  {Value("SOFTWARE\\Tool", "InstDir", "/srv/vxipnp"),
                   Value("SOFTWARE\\Tool", "Empty", "")}},
        ParseCase{"Escapes",
                  "REGEDIT4\n[HKEY_LOCAL_MACHINE\\E]\n"
                  "\"Path\"=\"C:\\\\Program Files\\\\Vantorix\\\\\"\n"
                  "\"Quote\"=\"say \\\"hi\\\"\"\n"
                  "\"Na\\\"me\"=\"x\"\n"
                  "\"Lone\"=\"a\\nb\"\n"
                  "\"Equals=Sign\" = \"a=b\"\n",
                  {Value("E", "Path", "C:\\Program Files\\Vantorix\\"),
                   Value("E", "Quote", "say \"hi\""), Value("E", "Na\"me", "x"),
                   Value("E", "Lone", "a\\nb"), Value("E", "Equals=Sign", "a=b")}},
        ParseCase{"DefaultValue",
                  "REGEDIT4\n[HKEY_LOCAL_MACHINE\\D]\n@=\"the default\"\n"
                  "[HKEY_LOCAL_MACHINE\\NoDefault]\n\"A\"=\"1\"\n",
                  {Value("D", "", "the default"), NoValue("NoDefault", "")}},
        ParseCase{"CommentsAndBlankLines",
                  "\nREGEDIT4\n; a comment\n\n   \n"
                  "  [HKEY_LOCAL_MACHINE\\C]  \n\t; indented comment\n  \"A\"=\"1\"\t\n"
                  "\"Semi\"=\"a;b\"\n",
                  {Value("C", "A", "1"), Value("C", "Semi", "a;b")}},
        ParseCase{"OtherTypesSkipped",
                  "Windows Registry Editor Version 5.00\r\n"
                  "[HKEY_LOCAL_MACHINE\\T]\r\n"
                  "\"Count\"=dword:00000010\r\n"
                  "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,\\\r\n"
                  "  14,15,16\r\n"
                  "\"Expand\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,\\\r\n"
                  "  6f,00,74,00,25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,\\\r\n"
                  "  00,00,00\r\n"
                  "\"Multi\"=HEX(7):41,00,00,00,00,00\r\n"
                  "\"Gone\"=-\r\n"
                  "\"After\"=\"still read\"\r\n",
                  {NoValue("T", "Count"), NoValue("T", "Blob"), NoValue("T", "Expand"),
                   NoValue("T", "Multi"), NoValue("T", "Gone"), Value("T", "After", "still read")}},
        ParseCase{"OtherRootsAndDeletionsIgnored",
                  "REGEDIT4\n"
                  "[HKEY_CURRENT_USER\\SOFTWARE\\User]\n\"A\"=\"user\"\n"
                  "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n\"A\"=\"gone\"\n"
                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]\n\"A\"=\"kept\"\n"
                  "[HKEY_CLASSES_ROOT\\.inf]\n@=\"inffile\"\n",
                  {NoKey("SOFTWARE\\User"), NoKey("SOFTWARE\\Gone"), NoKey(".inf"),
                   Value("SOFTWARE\\Kept", "A", "kept"), NoValue("", "")}},
        ParseCase{"AbbreviatedRootAndCaseInsensitiveNames",
                  "REGEDIT4\n[hklm\\Software\\Mixed]\n\"Path\"=\"/x\"\n"
                  "[HKEY_Local_Machine\\SOFTWARE\\MIXED\\Sub]\n",
                  {Value("SOFTWARE\\MIXED", "PATH", "/x"), Value("software\\mixed\\", "path", "/x"),
                   NoValue("software\\mixed\\SUB", "path")}},
        ParseCase{"ValuesMustFitTheBuffer",
                  "REGEDIT4\n[HKEY_LOCAL_MACHINE\\B]\n\"Seven\"=\"5.1.2.3\"\n"
                  "\"Eight\"=\"12345678\"\n",
                  {Value("B", "Seven", "5.1.2.3", 8), NoValue("B", "Eight", 8),
                   Value("B", "Eight", "12345678", 9), NoValue("B", "Seven", 7)}},
        ParseCase{"Utf16LittleEndianWithByteOrderMark",
                  Utf16Le(u"Windows Registry Editor Version 5.00\r\n\r\n"
                          u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caf\u00e9]\r\n"
                          u"\"Name\"=\"Stra\u00dfe \u20ac \U0001F600!\"\r\n"),
                  {Value("SOFTWARE\\Caf\xE9", "Name",
                         "Stra\xDF"
                         "e ? ?!")}},
        ParseCase{"Utf8ByteOrderMarkSkipped",
                  "\xEF\xBB\xBFREGEDIT4\n[HKEY_LOCAL_MACHINE\\U]\n\"A\"=\"caf\xC3\xA9\"\n",
                  {Value("U", "A", "caf\xC3\xA9")}}),
    CaseLabel<ParseCase>);

struct MalformedCase {
    const char* label;
    std::string bytes;
    std::size_t line;
};

std::ostream& operator<<(std::ostream& out, const MalformedCase& c) {
    return out << c.label;
}

class RegFileMalformedTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(RegFileMalformedTest, NamesTheLine) {
    MemoryRegistry registry;
    RegFileError error;
    EXPECT_FALSE(ParseRegFile(GetParam().bytes, registry, error));
    EXPECT_EQ(error.line, GetParam().line);
    EXPECT_FALSE(error.reason.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, RegFileMalformedTest,
    ::testing::Values(
        MalformedCase{"Empty", "", 1}, MalformedCase{"OnlyBlankLines", "\n\n", 1},
        MalformedCase{"OtherHeader", "Windows Registry Editor Version 4.00\n[HKLM\\A]\n", 1},
        MalformedCase{"IniFile", "[Module]\nName=x\n", 1},
        MalformedCase{"Utf16BigEndian", std::string("\xFE\xFF\0R\0E\0G", 8), 1},
        MalformedCase{"Utf16OddLength", std::string("\xFF\xFER\0E\0G", 7), 1},
        MalformedCase{"ValueBeforeKey", "REGEDIT4\n\"A\"=\"1\"\n", 2},
        MalformedCase{"UnterminatedString", "REGEDIT4\n[HKLM\\A]\n\"A\"=\"open\n\"B\"=\"1\"\n", 3},
        MalformedCase{"EscapedClosingQuote", "REGEDIT4\n[HKLM\\A]\n\"A\"=\"a\\\"\n", 3},
        MalformedCase{"UnterminatedName", "REGEDIT4\n[HKLM\\A]\n\"A=\"1\n", 3},
        MalformedCase{"MissingEquals", "REGEDIT4\n[HKLM\\A]\n\"A\" \"1\"\n", 3},
        MalformedCase{"UnknownType", "REGEDIT4\n[HKLM\\A]\n\"A\"=bogus:1\n", 3},
        MalformedCase{"TextAfterString", "REGEDIT4\n[HKLM\\A]\n\"A\"=\"1\" 2\n", 3},
        MalformedCase{"KeyWithoutBracket", "REGEDIT4\n\n[HKLM\\A\n", 3},
        MalformedCase{"StrayText", "REGEDIT4\r\n[HKLM\\A]\r\nA=1\r\n", 3},
        MalformedCase{"ContinuationEndsOnlyTheHexValue",
                      "REGEDIT4\n[HKLM\\A]\n\"H\"=hex:01,\\\n  02\n  03\n", 5}),
    CaseLabel<MalformedCase>);

TEST(RegFileTest, SubkeysEnumerateInNameOrderUnderTheirFirstWrittenName) {
    MemoryRegistry registry;
    RegFileError error;
    ASSERT_TRUE(
        ParseRegFile("REGEDIT4\n"
                     "[HKEY_LOCAL_MACHINE\\P\\beta]\n"
                     "[HKEY_LOCAL_MACHINE\\P\\Alpha]\n"
                     "[HKEY_LOCAL_MACHINE\\p\\ALPHA\\x]\n"
                     "[HKEY_LOCAL_MACHINE\\P\\Gamma\\deep\\er]\n",
                     registry, error));
    auto key = registry.OpenLocalMachineKey("P");
    ASSERT_NE(key, nullptr);
    std::vector<std::string> names;
    for (std::size_t i = 0; auto name = key->EnumSubKey(i, 64); ++i) {
        names.push_back(*name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    EXPECT_EQ(key->EnumSubKey(2, 5), std::nullopt);  // "Gamma" needs 6 characters
    EXPECT_EQ(key->EnumSubKey(2, 6), "Gamma");
}

// A file in a fresh temporary folder, removed with it.
class TempFile {
public:
    TempFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "regfile-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        path_ = dir_ + "/registry.reg";
    }
    ~TempFile() { std::filesystem::remove_all(dir_); }
    const std::string& path() const { return path_; }
    const std::string& dir() const { return dir_; }
    void Write(const std::string& bytes) const {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

private:
    std::string dir_;
    std::string path_;
};

TEST(RegFileLoadTest, ReadsAFileAndWarnsAboutNothing) {
    TempFile file;
    file.Write(kVersion5LfText);
    std::ostringstream warnings;
    auto registry = LoadRegFile(file.path(), warnings);
    ASSERT_NE(registry, nullptr);
    auto key = registry->OpenLocalMachineKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryString("Path", 256), "/opt/vantorix");
    EXPECT_EQ(warnings.str(), "");
}

TEST(RegFileLoadTest, UnusableFilesGiveAnEmptyRegistryAndOneWarningLine) {
    TempFile file;
    // The first key is well formed: a partly read file must not leave it behind.
    file.Write("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Early]\n\"A\"=\"1\"\nnonsense\n");
    struct {
        std::string path;
        std::string mentions;
    } const cases[] = {
        {file.path(), "line 4"},
        {file.dir() + "/missing.reg", "cannot read"},
        {file.dir(), "cannot read"},
    };
    for (const auto& c : cases) {
        std::ostringstream warnings;
        auto registry = LoadRegFile(c.path, warnings);
        ASSERT_NE(registry, nullptr) << c.path;
        EXPECT_EQ(registry->OpenLocalMachineKey("SOFTWARE\\Early"), nullptr) << c.path;
        EXPECT_EQ(registry->OpenLocalMachineKey("SOFTWARE"), nullptr) << c.path;
        const std::string text = warnings.str();
        EXPECT_NE(text.find("\"" + c.path + "\""), std::string::npos) << text;
        EXPECT_NE(text.find(c.mentions), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    }
}

// Sets or unsets an environment variable for one scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(RegFileLoadTest, EnvironmentNamesTheFile) {
    TempFile file;
    file.Write(kVersion5LfText);
    {
        ScopedVariable unset(kRegistryVariable, nullptr);
        std::ostringstream warnings;
        ConfiguredRegistry loaded = LoadRegistryFromEnvironment(warnings);
        EXPECT_FALSE(loaded.configured);
        ASSERT_NE(loaded.registry, nullptr);
        EXPECT_EQ(loaded.registry->OpenLocalMachineKey("SOFTWARE"), nullptr);
        EXPECT_EQ(warnings.str(), "");
    }
    {
        ScopedVariable set(kRegistryVariable, file.path().c_str());
        std::ostringstream warnings;
        ConfiguredRegistry loaded = LoadRegistryFromEnvironment(warnings);
        EXPECT_TRUE(loaded.configured);
        EXPECT_NE(loaded.registry->OpenLocalMachineKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2"),
                  nullptr);
        EXPECT_EQ(warnings.str(), "");
    }
    {
        const std::string missing = file.dir() + "/none.reg";
        ScopedVariable set(kRegistryVariable, missing.c_str());
        std::ostringstream warnings;
        ConfiguredRegistry loaded = LoadRegistryFromEnvironment(warnings);
        EXPECT_TRUE(loaded.configured);
        EXPECT_EQ(loaded.registry->OpenLocalMachineKey("SOFTWARE"), nullptr);
        EXPECT_NE(warnings.str().find(missing), std::string::npos);
    }
}

}  // namespace
}  // namespace tessaly
