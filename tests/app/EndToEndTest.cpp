// Runs the real program as a user's script would: no display, a fresh home folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/fakes/Golden.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(windows / "inf"); }

    // Starts the wizard with nothing but PATH, HOME and TESSALY_WINDOWS_DIR set; returns its
    // exit status and keeps its standard error in `errors`.
    int Run(const std::string& arguments) {
        const std::string command = "env -i PATH=/usr/bin:/bin HOME='" + home.string() +
                                    "' TESSALY_WINDOWS_DIR='" + windows.string() + "' '" +
                                    TESSALY_WIZARD_EXE + "' " + arguments + " 2>'" +
                                    (temp.path() / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        errors = ReadFileBytes((temp.path() / "stderr").string());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    testing::TempDir temp;
    fs::path home = temp.path() / "home";
    fs::path windows = temp.path() / "windows";
    std::string errors;
};

TEST_F(EndToEndTest, SilentAutoInstallWritesTheFiveFilesAndInstallsTheInf) {
    const std::string module =
        temp.Write("module.ini",
                   "[Module]\r\nModuleName = \"Scope 9\"\r\nModelCode = 0x1234\r\n"
                   "ManufCode = 0xABCD\r\nVISARegistration = Scope9\r\n[Scope9]\r\n"
                   "NumDetectSequences = 1\r\n"
                   "InterruptDetect0 = \"C16 BAR0 0x00000010 0xFFFF 0x0001;\"\r\n");
    temp.Write("windows/inf/Scope9_NT5.pnf", "stale");

    EXPECT_EQ(Run(module + " /SilentAutoInstall"), 0) << errors;
    EXPECT_EQ(errors, "");
    const fs::path out = home / "vxipnp" / "winnt" / "Scope9";
    for (const char* name :
         {"Scope_RT.inf", "Scope9_9x.inf", "Scope9_NT4.inf", "Scope9_NT5.inf", "Scope9.ini"}) {
        EXPECT_GT(fs::file_size(out / name), 0u) << name;
    }
    const std::string nt5 = ReadFileBytes((out / "Scope9_NT5.inf").string());
    EXPECT_EQ(ReadFileBytes((windows / "inf" / "Scope9_NT5.inf").string()), nt5);
    EXPECT_FALSE(fs::exists(windows / "inf" / "Scope9_NT5.pnf"));
    EXPECT_NE(nt5.find("\"IsThisMine0\",0,\"C16 BAR0 0x00000010 0xFFFF 0x0001;\"\r\n"),
              std::string::npos);
}

TEST_F(EndToEndTest, FailuresGoToStandardErrorWithAFailureStatus) {
    EXPECT_EQ(Run((temp.path() / "absent.ini").string() + " -SilentAutoInstall"), 1);
    EXPECT_EQ(errors,
              "Tessaly Wizard: The command line parameter was not a valid module description file "
              "name, or processing the file was cancelled.\n");

    fs::remove_all(windows);
    EXPECT_EQ(
        Run(temp.Write("m.ini", "[Module]\r\nModuleName = \"M\"\r\n") + " -SilentAutoInstall"), 1);
    EXPECT_EQ(errors, "Tessaly Wizard: The wizard could not install the output files.\n");
}

}  // namespace
}  // namespace tessaly
