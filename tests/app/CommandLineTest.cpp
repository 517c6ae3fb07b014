#include <gtest/gtest.h>

#include <optional>

#include "app/CommandLine.h"

namespace tessaly {
namespace {

struct CommandLineCase {
    std::vector<std::string> arguments;
    bool filePresent;
    std::string fileName;
    bool silent;
    std::optional<std::string> function = std::nullopt;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, DecidesFileAndSwitch) {
    const CommandLineCase& c = GetParam();
    const CWizardCommandLineInfo info = ParseCommandLine(c.arguments);
    EXPECT_EQ(info.filePresent, c.filePresent);
    if (c.filePresent) {
        EXPECT_EQ(info.fileName, c.fileName);
    }
    EXPECT_EQ(info.SilentAutoInstall, c.silent);
    EXPECT_EQ(info.function, c.function);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        CommandLineCase{{}, false, "", false},
        CommandLineCase{{"/SilentAutoInstall"}, false, "", true},
        CommandLineCase{{"-silentautoinstall"}, false, "", true},
        CommandLineCase{{"/SILENTAUTOINSTALL"}, false, "", true},
        // Without "/" or "-" the word is the path of a module description file.
        CommandLineCase{{"SilentAutoInstall"}, true, "SilentAutoInstall", false},
        CommandLineCase{{"module.ini"}, true, "module.ini", false},
        CommandLineCase{{"module.ini", "/SilentAutoInstall"}, true, "module.ini", true},
        CommandLineCase{
            {"-SilentAutoInstall", "dir/My Module.ini"}, true, "dir/My Module.ini", true},
        // An absolute path is a file, not a switch.
        CommandLineCase{
            {"/home/user/module.ini", "-SilentAutoInstall"}, true, "/home/user/module.ini", true},
        // The first non-switch argument is the file.
        CommandLineCase{{"a.ini", "b.ini"}, true, "a.ini", false},
        // Unknown switches are ignored.
        CommandLineCase{{"/x", "a.ini"}, true, "a.ini", false},
        // Standard switches that choose another command keep the file from being present.
        CommandLineCase{{"/p", "a.ini"}, false, "", false},
        CommandLineCase{{"a.ini", "-pt"}, false, "", false},
        CommandLineCase{{"a.ini", "/dde"}, false, "", false},
        CommandLineCase{{"a.ini", "/automation", "/SilentAutoInstall"}, false, "", true},
        CommandLineCase{{"/Unregister", "a.ini"}, false, "", false},
        // The function switch keeps its number as text, for the run to check.
        CommandLineCase{{"a.ini", "/Function:2"}, true, "a.ini", false, "2"},
        CommandLineCase{{"-FUNCTION:x", "a.ini"}, true, "a.ini", false, "x"},
        CommandLineCase{{"/function", "a.ini"}, true, "a.ini", false, ""},
        CommandLineCase{{"/Functions:2", "a.ini"}, true, "a.ini", false}));

}  // namespace
}  // namespace tessaly
