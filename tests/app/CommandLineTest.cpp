#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace tessaly {
namespace {

struct CommandLineCase {
    std::vector<std::string> arguments;
    bool filePresent;
    std::string fileName;
    bool silent;
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
        CommandLineCase{{"/Unregister", "a.ini"}, false, "", false}));

}  // namespace
}  // namespace tessaly
