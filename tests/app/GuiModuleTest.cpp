// The program without its window module: what still works, and how it says what does not.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tests/fakes/Golden.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// The output of a command, or "" when it cannot run.
std::string Output(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return output;
}

TEST(GuiModuleTest, TheProgramMapsNoQtLibrary) {
    const std::string libraries = Output(std::string("ldd '") + TESSALY_WIZARD_EXE + "'");
    ASSERT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
}

// A copy of the executable in a folder of its own, where no module stands beside it.
TEST(GuiModuleTest, WithoutTheModuleOnlyTheWindowIsMissing) {
    testing::TempDir temp;
    const fs::path program = temp.path() / "bin" / "tessaly-wizard";
    fs::create_directories(program.parent_path());
    fs::copy_file(TESSALY_WIZARD_EXE, program);
    fs::create_directories(temp.path() / "windows" / "inf");
    const std::string module =
        temp.Write("module.ini",
                   "[Module]\r\nModuleName = \"Scope 9\"\r\nModelCode = 0x1234\r\n"
                   "ManufCode = 0xABCD\r\nVISARegistration = Scope9\r\n");

    struct Case {
        const char* arguments;
        int status;
        const char* errorsStart;  // "" for none
    };
    const Case cases[] = {
        {" /SilentAutoInstall", 0, ""},
        {"", 1, "Tessaly Wizard: The window module could not be loaded ("},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const fs::path errors = temp.path() / "stderr";
        // A display is there, so only the missing module can stop the window.
        const std::string command = "env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen HOME='" +
                                    (temp.path() / "home").string() + "' TESSALY_WINDOWS_DIR='" +
                                    (temp.path() / "windows").string() + "' '" + program.string() +
                                    "' " + (*c.arguments ? module + c.arguments : "") + " 2>'" +
                                    errors.string() + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        const std::string said = testing::ReadFileBytes(errors.string());
        EXPECT_EQ(said.rfind(c.errorsStart, 0), 0u) << said;
        EXPECT_EQ(said.find('\n'), *c.errorsStart ? said.size() - 1 : std::string::npos) << said;
    }
    EXPECT_TRUE(fs::exists(temp.path() / "windows" / "inf" / "Scope9_NT5.inf"));
    const fs::path out = temp.path() / "home" / "vxipnp" / "winnt" / "Scope9";
    for (const char* name :
         {"Scope_RT.inf", "Scope9_9x.inf", "Scope9_NT4.inf", "Scope9_NT5.inf", "Scope9.ini"}) {
        EXPECT_TRUE(fs::exists(out / name)) << name;
    }
}

}  // namespace
}  // namespace tessaly
