#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace tessaly {
namespace {

using Strings = std::vector<std::string>;

// The paths that exist for these cases.
bool Exists(const std::string& path) {
    return path == "/m.ini" || path == "-m.ini";
}

struct SeedCase {
    Strings arguments;
    std::string fileName;  // "": no file
    bool silent;
    std::optional<std::string> function = std::nullopt;
};

TEST(CommandLineTest, DecidesFileAndSwitch) {
    const SeedCase cases[] = {
        {{}, "", false},
        {{"-silentautoinstall"}, "", true},
        // Without "/" or "-" the word is the path of a module description file.
        {{"SilentAutoInstall"}, "SilentAutoInstall", false},
        {{"-SILENTAUTOINSTALL", "dir/My Module.ini"}, "dir/My Module.ini", true},
        // An absolute path is a file, not a switch; the first one is the file.
        {{"/home/user/module.ini", "b.ini", "/SilentAutoInstall"}, "/home/user/module.ini", true},
        // A file at the root is a file when it is there; "--" ends the switches.
        {{"/SilentAutoInstall", "/m.ini"}, "/m.ini", true},
        {{"/SilentAutoInstall", "--", "-m.ini", "/SilentAutoInstall"}, "-m.ini", true},
        // Standard switches that choose another command keep the file from being present.
        {{"/p", "a.ini"}, "", false},
        {{"a.ini", "/automation", "/SilentAutoInstall"}, "", true},
        // The function switch keeps its number as text, for the run to check.
        {{"a.ini", "-FUNCTION:2"}, "a.ini", false, "2"},
        {{"/function", "a.ini"}, "a.ini", false, ""},
    };
    for (const SeedCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const CommandLine line = ParseCommandLine(c.arguments, Exists);
        EXPECT_EQ(line.error, "");
        EXPECT_FALSE(line.batchMode());
        EXPECT_EQ(line.wizard.filePresent, !c.fileName.empty());
        EXPECT_EQ(line.wizard.filePresent ? line.wizard.fileName : "", c.fileName);
        EXPECT_EQ(line.wizard.SilentAutoInstall, c.silent);
        EXPECT_EQ(line.wizard.function, c.function);
    }
}

// Every usage error, and the lines that only look like one. "" expects no error.
TEST(CommandLineTest, RefusesWhatItCannotFollow) {
    const std::pair<Strings, std::string> cases[] = {
        {{"m.ini", "/SilentAutoInstal"}, "unknown switch \"/SilentAutoInstal\"."},
        {{"-m.ini", "/SilentAutoInstall"}, "unknown switch \"-m.ini\"."},
        {{"/x.ini"}, "unknown switch \"/x.ini\"."},
        {{"/Functions:2", "a.ini"}, "unknown switch \"/Functions:2\"."},
        {{"--silentautoinstall", "a.ini"}, "unknown option \"--silentautoinstall\"."},
        {{"--output=out", "--lists", "a.ini"}, "unknown option \"--lists\"."},
        {{"--output"}, "--output needs a value: --output DIR."},
        {{"-o", ""}, "--output needs a folder: --output DIR."},
        {{"--output=out"}, "--output needs module files (FILE.ini ...) or --usb VID:PID."},
        {{"-o", "a", "--output", "b", "m.ini"}, "--output is given twice."},
        {{"--list=yes", "-o", "out", "m.ini"}, "--list takes no value."},
        {{"--install", "m.ini"}, "--install needs --output DIR."},
        {{"-o", "out", "--usb", "1:2"}, "--usb needs --prefix P."},
        {{"-o", "out", "--prefix", "p", "m.ini"}, "--prefix needs --usb VID:PID."},
        {{"-o", "out", "--usb", "0x1234", "--prefix", "p"},
         "--usb needs the two IDs separated by a colon: --usb VID:PID, not \"0x1234\"."},
        {{"-o", "out", "--usb=1:2", "--prefix=p", "m.ini"},
         "--usb describes one USB device; the module file \"m.ini\" cannot go with it."},
        {{"-o", "out", "--usb", "1:2", "--prefix", "p", "/Function:1"},
         "/Function:<n> picks a function of a module file; --usb has none."},
        {{"-o", "out", "/Function:x", "m.ini"},
         "The switch /Function:x needs the number of a function, 1 for the first."},
        {{"-o", "out", "m.ini", "/SilentAutoInstall"},
         "/SilentAutoInstall is not for --output; --install installs what it writes."},
        {{"-o", "out", "/p", "m.ini"}, "--output takes no other switch than /Function:<n>."},
        {{"-o", "out", "--driver-version", "1.2.3.4", "m.ini"},
         "--driver-version needs --package."},
        {{"-o", "out", "--package", "--sign-key", "k.pem", "m.ini"},
         "--sign-key needs --sign-cert CERT.pem."},
        {{"-o", "out", "--sign-pfx", "a.pfx", "m.ini"}, "--sign-pfx needs --package."},
        {{"-o", "out", "--package", "--sign-pfx=a.pfx", "--sign-key=k", "--sign-cert=c", "m.ini"},
         "--sign-pfx and --sign-key with --sign-cert are two ways to give the package's "
         "certificate; give one."},
        {{"-o", "out", "--package", "--sign-key", "", "--sign-cert", "c", "m.ini"},
         "--sign-key needs a file: --sign-key KEY.pem."},
        {{"-o", "out", "--package", "--driver-version", "1.2.3.65536", "m.ini"},
         "--driver-version needs four numbers up to 65535, a.b.c.d, not \"1.2.3.65536\"."},
        {{"-o", "out", "--package", "--driver-version=1.2.3", "m.ini"},
         "--driver-version needs four numbers up to 65535, a.b.c.d, not \"1.2.3\"."},
        {{"-o", "out", "--package", "--driver-version", "65535.0.0.1", "--sign-cert", "c",
          "--sign-key", "k", "m.ini"},
         ""},
        // An option's value is taken as it is, whatever it starts with.
        {{"-o", "-out", "--usb", "1:2", "--prefix", "p", "--model", "--list"}, ""},
        {{"--output=out", "/m.ini", "--", "--list", "/Function:2"}, ""},
    };
    for (const auto& [arguments, error] : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_EQ(ParseCommandLine(arguments, Exists).error, error);
    }
}

// Help and version win over a usage error, but not when they are a file or an option's value.
TEST(CommandLineTest, FindsInfoRequests) {
    const std::pair<Strings, InfoRequest> cases[] = {
        {{"/bogus", "-h"}, InfoRequest::Usage},
        {{"--version", "--help"}, InfoRequest::Version},
        {{"--", "--help"}, InfoRequest::None},
        {{"-o", "out", "--usb", "1:2", "--model", "--help", "--prefix", "p"}, InfoRequest::None},
    };
    for (const auto& [arguments, request] : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_EQ(FindInfoRequest(arguments), request);
    }
}

}  // namespace
}  // namespace tessaly
