// Runs the real program as a user's script would: no display, a fresh home folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "modulefile/ModuleLoader.h"
#include "output/InfWriters.h"
#include "output/ModuleFileWriter.h"
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
    "The command line parameter was not a valid module description file name, or processing the "
    "file was cancelled.\n";

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

    // Starts `program` in `cwd` with nothing but PATH, HOME, TESSALY_WINDOWS_DIR and `env` set,
    // its standard error going to `errorFd` and its standard output to `outputFd` if given.
    pid_t Start(const Strings& arguments, int errorFd, const Strings& env = {}, int outputFd = -1) {
        Strings all = {program};
        all.insert(all.end(), arguments.begin(), arguments.end());
        Strings environment = {"PATH=/usr/bin:/bin", "HOME=" + home.string(),
                               "TESSALY_WINDOWS_DIR=" + windows.string()};
        environment.insert(environment.end(), env.begin(), env.end());
        std::vector<char*> argv, envp;
        for (auto [strings, pointers] : {std::pair{&all, &argv}, std::pair{&environment, &envp}}) {
            for (std::string& text : *strings) {
                pointers->push_back(text.data());
            }
            pointers->push_back(nullptr);
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
        if (outputFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
        }
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        pid_t pid = -1;
        EXPECT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()),
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
    std::string program = TESSALY_WIZARD_EXE;
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
        EXPECT_NE(output.find("Exit status"), std::string::npos) << output;
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
// the contents keep the Latin-1 byte, and the installed INF is the one written. The registry's
// InstDir on drive C: maps into the Windows image, never is a path relative to where the
// program runs.
TEST_F(EndToEndTest, AnAccentedPrefixIsUtf8OnTheDiskAndLatin1InTheFiles) {
    fs::create_directories(temp.path() / "c" / "vxipnp");
    const std::string registry =
        temp.Write("r.reg",
                   "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\ZEL-VISA for Windows "
                   "95/NT]\r\n\"InstDir\"=\"C:\\\\VXIPNP\\\\\"\r\n");
    EXPECT_EQ(Run({temp.Write("module.ini", Module("Caf\xE9")), "/SilentAutoInstall"},
                  {"TESSALY_REGISTRY=" + registry}),
              0);
    EXPECT_EQ(errors, "");
    const std::string cafe = "Caf\xC3\xA9";
    const fs::path folder = temp.path() / "c" / "vxipnp" / "winnt" / cafe;
    EXPECT_EQ(testing::FolderNames(folder),
              (Strings{cafe + ".ini", cafe + "_9x.inf", cafe + "_NT4.inf", cafe + "_NT5.inf",
                       cafe + "_RT.inf"}));
    const std::string nt5 = ReadFileBytes((folder / (cafe + "_NT5.inf")).string());
    EXPECT_NE(nt5.find("\r\nCaf\xE9_NT5.inf\r\n"), std::string::npos);
    EXPECT_EQ(ReadFileBytes((windows / "inf" / (cafe + "_NT5.inf")).string()), nt5);
    EXPECT_EQ(testing::FolderNames(cwd), Strings{});
}

// Each failure is one line on standard error and status 1; only a failed installation comes
// after the files are written. A closed standard error changes nothing.
TEST_F(EndToEndTest, FailuresGoToStandardErrorWithAFailureStatus) {
    fs::remove_all(windows);
    const std::string fifo = (temp.path() / "fifo.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string module = temp.Write("s.ini", Module("Scope9"));
    const std::string registry = (temp.path() / "none.reg").string();
    const std::string notModule =
        " cannot be a module description file: it is not a regular file.\n";
    const std::string noId =
        " \"\" in M_RT.inf, M_9x.inf, M_NT4.inf, M_NT5.inf, M.ini: the files "
        "write \"\" where four hexadecimal digits belong (PCI\\VEN_&DEV_): "
        "no device matches it.\nTessaly Wizard: ";
    const struct {
        Strings arguments, env;
        std::string errors;
    } cases[] = {
        // A pipe or an endless device that was read would hang the test until its time-out.
        {{fifo}, {}, "The file \"" + fifo + "\"" + notModule + "Tessaly Wizard: " + kInvalidFile},
        {{"/dev/zero"},
         {},
         "The file \"/dev/zero\"" + notModule + "Tessaly Wizard: " + kInvalidFile},
        {{module},
         {"TESSALY_REGISTRY=" + registry},
         "The registry file \"" + registry + "\" named by TESSALY_REGISTRY cannot be read.\n"},
        {{temp.Write("c.ini",
                     "[Module]\r\nFunctionList = 1,2\r\n[Function1]\r\nModelCode = 0x1111\r\n"
                     "[Function2]\r\nVISARegistration = Two\r\n")},
         {},
         "The module description file describes a combination module; choose one of its functions "
         "with /Function:<n>:\n1. Function1 (0x1111)\n2. Function2 (Two)\nTessaly Wizard: " +
             std::string(kInvalidFile)},
        {{temp.Write("m.ini", "[Module]\r\nModuleName = \"M\"\r\n")},
         {},
         "warning: ManufCode" + noId + "warning: ModelCode" + noId +
             "The wizard could not install the output files.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[0]);
        Strings arguments = c.arguments;
        arguments.push_back("-SilentAutoInstall");
        EXPECT_EQ(Run(arguments, c.env), 1);
        EXPECT_EQ(errors, "Tessaly Wizard: " + c.errors);
        EXPECT_EQ(fs::exists(home / "vxipnp"), &c == std::end(cases) - 1);
    }
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    const pid_t pid = Start({fifo, "/SilentAutoInstall"}, fds[1]);
    ::close(fds[1]);
    EXPECT_EQ(Wait(pid), 1);
}

// Twenty runs at once into one folder, each with its own description of the same prefix: every
// file is whole and one run's version, the installed copy a whole XP/2000 INF of one of them.
TEST_F(EndToEndTest, ParallelRunsLeaveEveryFileWhole) {
    constexpr int kRuns = 20;
    const Strings names = {"Scope_RT.inf", "Scope9_9x.inf", "Scope9_NT4.inf", "Scope9_NT5.inf",
                           "Scope9.ini"};
    std::vector<std::set<std::string>> versions(names.size());
    std::vector<pid_t> pids;
    const int errorFd = ::open((temp.path() / "stderr").c_str(), O_WRONLY | O_CREAT, 0600);
    for (int i = 0; i < kRuns; ++i) {
        const std::string text =
            Module("Scope9", "Scope " + std::to_string(i), "0x" + std::to_string(1000 + i));
        pids.push_back(Start(
            {temp.Write("m" + std::to_string(i) + ".ini", text), "/SilentAutoInstall"}, errorFd));
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
    for (const pid_t pid : pids) {
        EXPECT_EQ(Wait(pid), 0);
    }
    ::close(errorFd);
    EXPECT_EQ(ReadFileBytes((temp.path() / "stderr").string()), "");
    EXPECT_EQ(testing::FolderNames(out), (Strings{"Scope9.ini", "Scope9_9x.inf", "Scope9_NT4.inf",
                                                  "Scope9_NT5.inf", "Scope_RT.inf"}));
    for (std::size_t f = 0; f < names.size(); ++f) {
        EXPECT_EQ(versions[f].size(), static_cast<std::size_t>(kRuns));
        EXPECT_EQ(versions[f].count(ReadFileBytes((out / names[f]).string())), 1u) << names[f];
    }
    EXPECT_EQ(versions[3].count(ReadFileBytes((windows / "inf" / names[3]).string())), 1u);
    EXPECT_EQ(testing::FolderNames(windows / "inf"), Strings{"Scope9_NT5.inf"});
}

// The program maps no Qt library; a copy with no window module beside it still runs unattended,
// and only the window says it is missing, in one line, though a display is there.
TEST_F(EndToEndTest, WithoutTheWindowModuleOnlyTheWindowIsMissing) {
    std::string libraries;
    if (FILE* pipe = ::popen(("ldd '" + program + "'").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            libraries.append(buffer, n);
        }
        ::pclose(pipe);
    }
    ASSERT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;

    program = (temp.path() / "bin" / "tessaly-wizard").string();
    fs::create_directories(temp.path() / "bin");
    fs::copy_file(TESSALY_WIZARD_EXE, program);
    const Strings display = {"QT_QPA_PLATFORM=offscreen"};
    EXPECT_EQ(Run({temp.Write("m.ini", Module("Scope9")), "/SilentAutoInstall"}, display), 0);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(testing::FolderNames(out).size(), 5u);
    EXPECT_TRUE(fs::exists(windows / "inf" / "Scope9_NT5.inf"));
    EXPECT_EQ(Run({}, display), 1);
    EXPECT_EQ(errors.rfind("Tessaly Wizard: The window module could not be loaded (", 0), 0u);
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
}

}  // namespace
}  // namespace tessaly
