// Runs the real program as a user's script would: no display, a fresh home folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

struct RunResult {
    int status = -1;
    std::string errorOutput;
};

// Starts the wizard with only PATH, HOME and TESSALY_WINDOWS_DIR set and waits for it.
RunResult RunWizard(const std::vector<std::string>& arguments, const fs::path& home,
                    const fs::path& windows) {
    const fs::path errors = home.parent_path() / "stderr.txt";
    std::vector<std::string> env = {"PATH=/usr/bin:/bin", "HOME=" + home.string(),
                                    "TESSALY_WINDOWS_DIR=" + windows.string()};
    std::vector<std::string> args = {TESSALY_WIZARD_EXE};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    for (auto& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    RunResult result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    std::ostringstream text;
    text << std::ifstream(errors).rdbuf();
    result.errorOutput = text.str();
    return result;
}

std::string Contents(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(home);
        fs::create_directories(windows / "inf");
    }

    TempDir temp;
    fs::path home = temp.path() / "home";
    fs::path windows = temp.path() / "windows";
};

TEST_F(EndToEndTest, SilentAutoInstallWritesTheFiveFilesAndInstallsTheInf) {
    const std::string module =
        temp.Write("module.ini",
                   "[Module]\r\n"
                   "ModuleName = \"Scope 9\"\r\n"
                   "ModuleVendor = \"Acme\"\r\n"
                   "ModelCode = 0x1234\r\n"
                   "ManufCode = 0xABCD\r\n"
                   "VISARegistration = Scope9\r\n"
                   "[Scope9]\r\n"
                   "NumDetectSequences = 1\r\n"
                   "InterruptDetect0 = \"C16 BAR0 0x00000010 0xFFFF 0x0001;\"\r\n"
                   "InterruptQuiesce = \"W32 BAR1 0x00000100 0x00000001;\"\r\n");
    // A stale precompiled INF is removed by the installation.
    std::ofstream(windows / "inf" / "Scope9_NT5.pnf") << "old";

    const RunResult run = RunWizard({module, "/SilentAutoInstall"}, home, windows);
    EXPECT_EQ(run.status, 0) << run.errorOutput;
    EXPECT_EQ(run.errorOutput, "");

    const fs::path out = home / "vxipnp" / "winnt" / "Scope9";
    for (const char* name :
         {"Scope_RT.inf", "Scope9_9x.inf", "Scope9_NT4.inf", "Scope9_NT5.inf", "Scope9.ini"}) {
        EXPECT_TRUE(fs::is_regular_file(out / name)) << name;
        EXPECT_GT(fs::file_size(out / name), 0u) << name;
    }
    EXPECT_EQ(Contents(windows / "inf" / "Scope9_NT5.inf"), Contents(out / "Scope9_NT5.inf"));
    EXPECT_FALSE(fs::exists(windows / "inf" / "Scope9_NT5.pnf"));
    EXPECT_NE(Contents(out / "Scope9_NT5.inf")
                  .find("\"IsThisMine0\",0,\"C16 BAR0 0x00000010 0xFFFF 0x0001;\"\r\n"),
              std::string::npos);
}

TEST_F(EndToEndTest, FailuresGoToStandardErrorWithAFailureStatus) {
    RunResult run =
        RunWizard({(temp.path() / "absent.ini").string(), "-SilentAutoInstall"}, home, windows);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errorOutput,
              "Tessaly Wizard: The command line parameter was not a valid module description file "
              "name, or processing the file was cancelled.\n");

    const std::string module =
        temp.Write("m.ini", "[Module]\r\nModuleName = \"M\"\r\nManufCode = 0xABCD\r\n");
    fs::remove_all(windows);
    run = RunWizard({module, "-SilentAutoInstall"}, home, windows);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errorOutput, "Tessaly Wizard: The wizard could not install the output files.\n");
}

}  // namespace
}  // namespace tessaly
