// Runs the real program as a user's script would: no display, a fresh home folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "modulefile/ModuleFileWriter.h"
#include "modulefile/ModuleLoader.h"
#include "output/InfWriters.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using Strings = std::vector<std::string>;

constexpr const char* kInvalidFile =
    "Tessaly Wizard: The command line parameter was not a valid module description file name, or "
    "processing the file was cancelled.\n";

std::string Module(const std::string& registration, const std::string& name = "Scope 9",
                   const std::string& code = "0x1234") {
    return "[Module]\r\nModuleName = \"" + name + "\"\r\nModelCode = " + code +
           "\r\nManufCode = 0xABCD\r\nVISARegistration = " + registration + "\r\n[" + registration +
           "]\r\nNumDetectSequences = 1\r\n"
           "InterruptDetect0 = \"C16 BAR0 0x00000010 0xFFFF 0x0001;\"\r\n";
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(windows / "inf");
        fs::create_directories(cwd);
    }

    // Starts the wizard in `cwd` with nothing but PATH, HOME, TESSALY_WINDOWS_DIR and `env` set,
    // its standard error going to `errorFd` and its standard output to `outputFd` if given.
    pid_t Start(const Strings& arguments, int errorFd, const Strings& env = {}, int outputFd = -1) {
        Strings all = {TESSALY_WIZARD_EXE};
        all.insert(all.end(), arguments.begin(), arguments.end());
        Strings environment = {"PATH=/usr/bin:/bin", "HOME=" + home.string(),
                               "TESSALY_WINDOWS_DIR=" + windows.string()};
        environment.insert(environment.end(), env.begin(), env.end());
        std::vector<char*> argv, envp;
        for (std::string& a : all) {
            argv.push_back(a.data());
        }
        for (std::string& e : environment) {
            envp.push_back(e.data());
        }
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
        if (outputFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
        }
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        pid_t pid = -1;
        EXPECT_EQ(
            ::posix_spawn(&pid, TESSALY_WIZARD_EXE, &actions, nullptr, argv.data(), envp.data()),
            0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // The exit status, or -signal when a signal ended the program.
    static int Wait(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

    // Runs the wizard to its end; keeps its standard error in `errors` and its standard output
    // in `output`.
    int Run(const Strings& arguments, const Strings& env = {}) {
        const std::string log = (temp.path() / "stderr").string();
        const std::string printed = (temp.path() / "stdout").string();
        const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int outFd = ::open(printed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int status = Wait(Start(arguments, fd, env, outFd));
        ::close(fd);
        ::close(outFd);
        errors = ReadFileBytes(log);
        output = ReadFileBytes(printed);
        return status;
    }

    testing::TempDir temp;
    fs::path home = temp.path() / "home";
    fs::path windows = temp.path() / "c" / "Windows";
    fs::path cwd = temp.path() / "cwd";
    fs::path out = home / "vxipnp" / "winnt" / "Scope9";
    std::string errors;
    std::string output;
};

// --help (-h, /?) and --version answer on standard output before anything else: no display, no
// registry (an unreadable one would stop a run), nothing written. A failed write is a failure.
TEST_F(EndToEndTest, HelpAndVersionAnswerWithoutADisplay) {
    const Strings env = {"TESSALY_REGISTRY=" + (temp.path() / "none.reg").string()};
    const std::string module = temp.Write("m.ini", Module("Scope9"));
    for (const Strings& arguments : {Strings{"--help"}, Strings{"-h"}, Strings{"/?"},
                                     Strings{module, "/SilentAutoInstall", "-h"}}) {
        SCOPED_TRACE(arguments.back());
        EXPECT_EQ(Run(arguments, env), 0);
        EXPECT_EQ(errors, "");
        EXPECT_EQ(output.rfind("Tessaly Wizard " TESSALY_VERSION " - ", 0), 0u) << output;
        for (const char* topic :
             {"/SilentAutoInstall", "/Function:<n>", "--version", "TESSALY_REGISTRY",
              "TESSALY_WINDOWS_DIR", "TESSALY_STARTUP_PROBE", "Exit status"}) {
            EXPECT_NE(output.find(topic), std::string::npos) << topic;
        }
    }
    EXPECT_EQ(Run({"--version"}, env), 0);
    EXPECT_EQ(output, "tessaly-wizard " TESSALY_VERSION "\n");
    EXPECT_FALSE(fs::exists(home / "vxipnp"));

    const int full = ::open("/dev/full", O_WRONLY);
    const int errorFd = ::open("/dev/null", O_WRONLY);
    EXPECT_EQ(Wait(Start({"--help"}, errorFd, {}, full)), 1);
    ::close(full);
    ::close(errorFd);
}

// The same module file, golden files and warnings as the Windows build's run under Wine: both
// builds write the same bytes.
TEST_F(EndToEndTest, SilentAutoInstallWritesTheFiveFilesAndInstallsTheInf) {
    temp.Write("c/Windows/inf/abcdefgh_NT5.pnf", "stale");

    EXPECT_EQ(Run({testing::GoldenPath("pxi_subsys.ini"), "/SilentAutoInstall"}), 0) << errors;
    EXPECT_EQ(errors, ReadFileBytes(testing::GoldenPath("pxi_subsys_warnings.txt")));
    const fs::path folder = home / "vxipnp" / "winnt" / "abcdefgh";
    const std::pair<const char*, const char*> files[] = {
        {"abcde_RT.inf", "pxi_subsys_RT.inf"},      {"abcdefgh_9x.inf", "pxi_subsys_9x.inf"},
        {"abcdefgh_NT4.inf", "pxi_subsys_NT4.inf"}, {"abcdefgh_NT5.inf", "pxi_subsys_NT5.inf"},
        {"abcdefgh.ini", "pxi_subsys.ini"},
    };
    EXPECT_EQ(testing::FolderNames(folder).size(), 5u);
    for (const auto& [written, golden] : files) {
        EXPECT_TRUE(testing::MatchesGolden(golden, ReadFileBytes((folder / written).string())));
    }
    EXPECT_TRUE(testing::MatchesGolden(
        "pxi_subsys_NT5.inf", ReadFileBytes((windows / "inf" / "abcdefgh_NT5.inf").string())));
    EXPECT_EQ(testing::FolderNames(windows / "inf"), Strings{"abcdefgh_NT5.inf"});
}

// A prefix with the byte 0xE9 (Latin-1 for é): the folder and file names on the disk are UTF-8,
// the contents keep the Latin-1 byte, and the installed INF is the one written. A value INF
// readers misread is a warning on standard error, and the run still succeeds.
TEST_F(EndToEndTest, AnAccentedPrefixIsUtf8OnTheDiskAndLatin1InTheFiles) {
    const std::string module = temp.Write("module.ini", Module("Caf\xE9", "The \"Best\" Meter"));
    EXPECT_EQ(Run({module, "/SilentAutoInstall"}), 0) << errors;
    const std::string cafe = "Caf\xC3\xA9";
    const fs::path folder = home / "vxipnp" / "winnt" / cafe;
    EXPECT_EQ(testing::FolderNames(home / "vxipnp" / "winnt"), Strings{cafe});
    EXPECT_EQ(testing::FolderNames(folder),
              (Strings{cafe + ".ini", cafe + "_9x.inf", cafe + "_NT4.inf", cafe + "_NT5.inf",
                       cafe + "_RT.inf"}));
    const std::string nt5 = ReadFileBytes((folder / (cafe + "_NT5.inf")).string());
    EXPECT_NE(nt5.find("\r\nCaf\xE9_NT5.inf\r\n"), std::string::npos);
    EXPECT_NE(ReadFileBytes((folder / (cafe + ".ini")).string()).find("\r\n[Caf\xE9]\r\n"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes((windows / "inf" / (cafe + "_NT5.inf")).string()), nt5);
    EXPECT_EQ(errors, "Tessaly Wizard: warning: ModelName \"The \"Best\" Meter\" in " + cafe +
                          "_RT.inf, " + cafe + "_9x.inf, " + cafe + "_NT4.inf, " + cafe +
                          "_NT5.inf: a double quote ends the quoted text: readers take it as "
                          "\"The Best Meter\".\n");
}

TEST_F(EndToEndTest, FailuresGoToStandardErrorWithAFailureStatus) {
    fs::remove_all(windows);
    EXPECT_EQ(
        Run({temp.Write("m.ini", "[Module]\r\nModuleName = \"M\"\r\n"), "-SilentAutoInstall"}), 1);
    // Without IDs the files name no device: said before the files are written.
    const std::string noId =
        " \"\" in M_RT.inf, M_9x.inf, M_NT4.inf, M_NT5.inf, M.ini: the files "
        "write \"\" where four hexadecimal digits belong (PCI\\VEN_&DEV_): "
        "no device matches it.\n";
    EXPECT_EQ(errors, "Tessaly Wizard: warning: ManufCode" + noId +
                          "Tessaly Wizard: warning: ModelCode" + noId +
                          "Tessaly Wizard: The wizard could not install the output files.\n");

    // A configured registry that cannot be read stops the run before anything is written.
    fs::remove_all(home);
    const std::string registry = (temp.path() / "none.reg").string();
    EXPECT_EQ(Run({temp.Write("s.ini", Module("Scope9")), "/SilentAutoInstall"},
                  {"TESSALY_REGISTRY=" + registry}),
              1);
    EXPECT_EQ(errors, "Tessaly Wizard: The registry file \"" + registry +
                          "\" named by TESSALY_REGISTRY cannot be read.\n");
    EXPECT_FALSE(fs::exists(home / "vxipnp"));
}

// A closed standard error does not kill the run; its status still tells what happened.
TEST_F(EndToEndTest, AClosedStandardErrorLeavesTheExitStatus) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const pid_t pid = Start({(temp.path() / "absent.ini").string(), "/SilentAutoInstall"}, fds[1]);
    ::close(fds[1]);
    EXPECT_EQ(Wait(pid), 1);
}

// Twenty runs at once into one folder, each with its own description of the same prefix: every
// file, whenever it is read, is whole and one run's version, and the installed copy is a whole
// XP/2000 INF of one of them.
TEST_F(EndToEndTest, ParallelRunsLeaveEveryFileWhole) {
    constexpr int kRuns = 20;
    const Strings names = {"Scope_RT.inf", "Scope9_9x.inf", "Scope9_NT4.inf", "Scope9_NT5.inf",
                           "Scope9.ini"};
    std::vector<std::set<std::string>> versions(names.size());
    Strings modules;
    for (int i = 0; i < kRuns; ++i) {
        const std::string text =
            Module("Scope9", "Scope " + std::to_string(i), "0x" + std::to_string(1000 + i));
        modules.push_back(temp.Write("m" + std::to_string(i) + ".ini", text));
        // What a run of this module writes, rendered here.
        testing::FakeFileSystem files;
        files.AddFile("c:\\m.ini", text);
        testing::RecordingPrompter prompter;
        WizardModel model;
        ASSERT_EQ(LoadModuleDescriptionFile(model, "c:\\m.ini", files, prompter), 0);
        std::vector<std::string> ids;
        const std::string rendered[] = {RenderRtInf(model.device), Render9xInf(model.device),
                                        RenderNt4Inf(model.device), RenderNt5Inf(model.device, ids),
                                        RenderModuleDescriptionFile(model.device)};
        for (std::size_t f = 0; f < names.size(); ++f) {
            versions[f].insert(rendered[f]);
        }
    }
    for (const auto& v : versions) {
        ASSERT_EQ(v.size(), static_cast<std::size_t>(kRuns));  // every run writes its own bytes
    }

    // A reader looks at every file all the while: it must never see a part of one.
    const std::vector<fs::path> watched = {out / names[0], out / names[1],
                                           out / names[2], out / names[3],
                                           out / names[4], windows / "inf" / names[3]};
    std::atomic<bool> done = false;
    std::vector<std::string> seenTorn;
    std::thread reader([&] {
        while (!done) {
            for (std::size_t f = 0; f < watched.size(); ++f) {
                std::ifstream in(watched[f], std::ios::binary);
                const std::string bytes{std::istreambuf_iterator<char>(in), {}};
                if (in && seenTorn.size() < 10 &&
                    !versions[f < names.size() ? f : 3].count(bytes)) {
                    seenTorn.push_back(watched[f].filename().string() + ": " +
                                       std::to_string(bytes.size()) + " bytes");
                }
            }
        }
    });
    const int errorFd = ::open((temp.path() / "stderr").c_str(), O_WRONLY | O_CREAT, 0600);
    std::vector<pid_t> pids;
    for (const std::string& module : modules) {
        pids.push_back(Start({module, "/SilentAutoInstall"}, errorFd));
    }
    for (const pid_t pid : pids) {
        EXPECT_EQ(Wait(pid), 0);
    }
    done = true;
    reader.join();
    ::close(errorFd);
    EXPECT_EQ(ReadFileBytes((temp.path() / "stderr").string()), "");
    EXPECT_EQ(seenTorn, Strings{});

    EXPECT_EQ(testing::FolderNames(out), (Strings{"Scope9.ini", "Scope9_9x.inf", "Scope9_NT4.inf",
                                                  "Scope9_NT5.inf", "Scope_RT.inf"}));
    for (std::size_t f = 0; f < watched.size(); ++f) {
        EXPECT_EQ(versions[f < names.size() ? f : 3].count(ReadFileBytes(watched[f].string())), 1u)
            << watched[f];
    }
    EXPECT_EQ(testing::FolderNames(windows / "inf"), Strings{"Scope9_NT5.inf"});
}

TEST_F(EndToEndTest, InstDirIsMappedOrIgnoredNeverUsedAsItIs) {
    fs::create_directories(temp.path() / "c" / "vxipnp");
    const std::string module = temp.Write("m.ini", Module("Scope9"));
    const fs::path defaultOut = out;
    // The "InstDir" value as a .reg file writes it, where the files go, the warning.
    const std::tuple<std::string, fs::path, std::string> cases[] = {
        {"C:\\\\VXIPNP\\\\", temp.path() / "c" / "vxipnp" / "winnt" / "Scope9", ""},
        {"vxi", defaultOut, "\"vxi\": it is not an absolute path"},
    };
    for (const auto& [value, folder, warning] : cases) {
        SCOPED_TRACE(value);
        const std::string registry =
            temp.Write("r.reg",
                       "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\ZEL-VISA for "
                       "Windows 95/NT]\r\n\"InstDir\"=\"" +
                           value + "\"\r\n");
        EXPECT_EQ(Run({module, "/SilentAutoInstall"}, {"TESSALY_REGISTRY=" + registry}), 0);
        EXPECT_EQ(errors, warning.empty()
                              ? ""
                              : "Tessaly Wizard: ignoring the registry path " + warning + ".\n");
        EXPECT_TRUE(fs::exists(folder / "Scope9_NT5.inf"));
        EXPECT_EQ(testing::FolderNames(cwd),
                  Strings{});  // nothing relative to where the program runs
        fs::remove_all(folder);
    }
}

// A registration name of "." or ".." cannot put the files beside or above the family folder.
TEST_F(EndToEndTest, DotRegistrationNamesStayInTheFamilyFolder) {
    for (const char* dots : {".", ".."}) {
        SCOPED_TRACE(dots);
        const std::string module = temp.Write("m.ini", Module(dots));
        EXPECT_EQ(Run({module, "/SilentAutoInstall"}), 0) << errors;
        EXPECT_EQ(testing::FolderNames(home / "vxipnp"), Strings{"winnt"});
        EXPECT_EQ(testing::FolderNames(home / "vxipnp" / "winnt"),
                  (Strings{".ini", "_9x.inf", "_NT4.inf", "_NT5.inf", "_RT.inf"}));
        fs::remove_all(home);
    }
}

// A pipe, an endless device or an oversized file is refused with a reason; one that was read
// instead would hang the test program until its time-out.
TEST_F(EndToEndTest, OnlyABoundedRegularFileIsLoaded) {
    const std::string fifo = (temp.path() / "fifo.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string big = temp.Write("big.ini", std::string(kMaxModuleFileBytes + 1, '\n'));
    const std::tuple<std::string, const char*> cases[] = {
        {fifo, "it is not a regular file."},
        {"/dev/zero", "it is not a regular file."},
        {"/dev/urandom", "it is not a regular file."},
        {big, "it holds more than 4 MiB."},
    };
    for (const auto& [path, reason] : cases) {
        EXPECT_EQ(Run({path, "/SilentAutoInstall"}), 1) << path;
        EXPECT_EQ(errors, "Tessaly Wizard: The file \"" + path +
                              "\" cannot be a module description file: " + reason + "\n" +
                              kInvalidFile);
    }
    EXPECT_FALSE(fs::exists(home / "vxipnp"));
}

// The switch itself, and what it picks, are WizardAppTest's; here the console lists the choice.
TEST_F(EndToEndTest, WithoutTheFunctionSwitchTheConsoleListsTheFunctions) {
    const std::string module =
        temp.Write("m.ini",
                   "[Module]\r\nFunctionList = 1,2\r\n[Function1]\r\nModelCode = 0x1111\r\n"
                   "[Function2]\r\nVISARegistration = Two\r\nModelCode = 0x2222\r\n");
    EXPECT_EQ(Run({module, "/SilentAutoInstall"}), 1);
    EXPECT_EQ(errors,
              "Tessaly Wizard: The module description file describes a combination module; "
              "choose one of its functions with /Function:<n>:\n1. Function1 (0x1111)\n2. "
              "Function2 (Two)\n" +
                  std::string(kInvalidFile));
    EXPECT_FALSE(fs::exists(home / "vxipnp"));
}

}  // namespace
}  // namespace tessaly
