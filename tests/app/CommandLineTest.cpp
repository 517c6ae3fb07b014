#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace tessaly {
namespace {

struct CommandLineCase {
    std::vector<std::string> arguments;
    std::string fileName;  // "": no file
    bool silent;
    std::optional<std::string> function = std::nullopt;
};

TEST(CommandLineTest, DecidesFileAndSwitch) {
    const CommandLineCase cases[] = {
        {{}, "", false},
        {{"-silentautoinstall"}, "", true},
        // Without "/" or "-" the word is the path of a module description file.
        {{"SilentAutoInstall"}, "SilentAutoInstall", false},
        {{"-SILENTAUTOINSTALL", "dir/My Module.ini"}, "dir/My Module.ini", true},
        // An absolute path is a file, not a switch; the first one is the file.
        {{"/home/user/module.ini", "b.ini", "/SilentAutoInstall"}, "/home/user/module.ini", true},
        {{"/x", "a.ini"}, "a.ini", false},  // unknown switches are ignored
        // Standard switches that choose another command keep the file from being present.
        {{"/p", "a.ini"}, "", false},
        {{"a.ini", "/automation", "/SilentAutoInstall"}, "", true},
        // The function switch keeps its number as text, for the run to check.
        {{"a.ini", "-FUNCTION:2"}, "a.ini", false, "2"},
        {{"/function", "a.ini"}, "a.ini", false, ""},
        {{"/Functions:2", "a.ini"}, "a.ini", false},
    };
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const CWizardCommandLineInfo info = ParseCommandLine(c.arguments);
        EXPECT_EQ(info.filePresent, !c.fileName.empty());
        EXPECT_EQ(info.filePresent ? info.fileName : "", c.fileName);
        EXPECT_EQ(info.SilentAutoInstall, c.silent);
        EXPECT_EQ(info.function, c.function);
    }
}

}  // namespace
}  // namespace tessaly
