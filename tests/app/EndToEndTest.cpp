// Runs the real program as a user's script would: no display, a fresh home folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "modulefile/ModuleLoader.h"
#include "output/InfWriters.h"
#include "output/ModuleFileWriter.h"
#include "output/package/PackageInf.h"
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

// Every file below `folder` by its path relative to it, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (fs::is_directory(folder)) {
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (!entry.is_directory()) {
                files[fs::relative(entry.path(), folder).string()] =
                    ReadFileBytes(entry.path().string());
            }
        }
    }
    return files;
}

const std::string kFixtures = TESSALY_PACKAGE_FIXTURES;

// Whether osslsigncode, a reader independent of ours, accepts the catalog as signed by a
// certificate that chains to `certificate` (PEM, or DER turned into PEM first); its report
// when it does not.
::testing::AssertionResult VerifiedByOsslsigncode(const fs::path& catalog, fs::path certificate) {
    const auto quoted = [](const fs::path& path) { return "'" + path.string() + "'"; };
    const fs::path log = catalog.string() + ".log";
    if (certificate.extension() == ".cer") {
        const fs::path pem = log.string() + ".pem";
        if (std::system(("openssl x509 -inform DER -in " + quoted(certificate) + " -out " +
                         quoted(pem) + " 2>" + quoted(log))
                            .c_str()) != 0) {
            return ::testing::AssertionFailure() << ReadFileBytes(log.string());
        }
        certificate = pem;
    }
    const int status = std::system(("osslsigncode verify -in " + quoted(catalog) + " -CAfile " +
                                    quoted(certificate) + " >" + quoted(log) + " 2>&1")
                                       .c_str());
    return status == 0 ? ::testing::AssertionSuccess()
                       : ::testing::AssertionFailure() << ReadFileBytes(log.string());
}

// Each line of `lines` as the program says it about `label`.
std::string Labelled(const std::string& label, const std::string& lines) {
    std::string out;
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        out += "Tessaly Wizard: " + label + ": " + lines.substr(start, end - start) + "\n";
        start = end + 1;
    }
    return out;
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

    // Makes `program` a copy with no window module beside it: a run that tried to show a window
    // would say so instead of waiting for a click.
    void WithoutWindowModule() {
        program = (temp.path() / "bin" / "tessaly-wizard").string();
        fs::create_directories(temp.path() / "bin");
        fs::copy_file(TESSALY_WIZARD_EXE, program, fs::copy_options::overwrite_existing);
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
    fs::path dir = temp.path() / "dir" / "new";  // the batch's folder: two levels to create
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
    // A reader that is gone: the write fails, the program is not killed.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    EXPECT_EQ(Wait(Start({"--help"}, errorFd, {}, fds[1])), 1);
    ::close(fds[1]);
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

// Registry paths the Windows build could not read (longer than its 256-byte buffer) or that a
// NUL would cut short are ignored, each with a warning, and the run goes on without them.
TEST_F(EndToEndTest, OverlongAndNulRegistryPathsAreIgnoredWithAWarning) {
    const std::string longPath = "/" + std::string(300, 'v');
    const std::string registry = temp.Write(
        "r.reg",
        "REGEDIT4\r\n[HKLM\\SOFTWARE\\Quorvane\\ZEL-VISA for Windows 95/NT]\r\n"
        "\"InstDir\"=\"" +
            longPath +
            "\"\r\n[HKLM\\SOFTWARE\\Quorvane\\ZEL-PXIRM\\CurrentVersion]\r\n\"Path\"=\"" +
            (temp.path() / "rm").string() + std::string(1, '\0') + "/x\"\r\n");
    EXPECT_EQ(Run({temp.Write("m.ini", Module("Scope9")), "/SilentAutoInstall"},
                  {"TESSALY_REGISTRY=" + registry}),
              0);
    EXPECT_EQ(errors, "Tessaly Wizard: ignoring the registry path \"" + longPath.substr(0, 300) +
                          "...\": it is longer than 255 characters.\nTessaly Wizard: ignoring the "
                          "registry path \"" +
                          (temp.path() / "rm").string() + "\\x00/x\": it holds a NUL character.\n");
    EXPECT_EQ(testing::FolderNames(out).size(), 5u);
    EXPECT_FALSE(fs::exists(temp.path() / "rm"));
}

// A run killed while writing left its temporaries; the next run into that folder removes those of
// its own files, and leaves what another write may still be using.
TEST_F(EndToEndTest, ARunRemovesTheTemporariesAKilledRunLeft) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(10);
    for (const char* name : {".Scope9_NT5.inf.Kil1ed00.tmp", ".Scope_RT.inf.Kil1ed01.tmp",
                             ".Other_NT5.inf.Kil1ed02.tmp"}) {
        fs::last_write_time(temp.Write("home/vxipnp/winnt/Scope9/" + std::string(name), "part"),
                            old);
    }
    temp.Write("home/vxipnp/winnt/Scope9/.Scope9.ini.Writing0.tmp", "in use");
    EXPECT_EQ(Run({temp.Write("m.ini", Module("Scope9")), "/SilentAutoInstall"}), 0) << errors;
    EXPECT_EQ(testing::FolderNames(out),
              (Strings{".Other_NT5.inf.Kil1ed02.tmp", ".Scope9.ini.Writing0.tmp", "Scope9.ini",
                       "Scope9_9x.inf", "Scope9_NT4.inf", "Scope9_NT5.inf", "Scope_RT.inf"}));
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
        // What is left of ".. " once cleaned names no folder of its own: refused, not emptied.
        {{temp.Write("d.ini", Module("\".. \""))},
         {},
         "All VXIplug&play compliant instrument drivers must limit the instrument prefix to 31 "
         "characters.\nIn addition, the characters must be valid in the context of a filename.\n"
         "The prefix \"..\" does not keep these rules; no file was written.\nTessaly Wizard: The "
         "wizard could not save the output files.\n"},
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
        DeviceDescription device;
        const auto noChooser = [](const std::vector<std::string>&) { return std::optional<int>(); };
        ASSERT_EQ(LoadModuleDescriptionFile(device, "c:\\m.ini", files, prompter, noChooser), 0);
        std::vector<std::string> ids;
        const std::string rendered[] = {RenderRtInf(device), Render9xInf(device),
                                        RenderNt4Inf(device), RenderNt5Inf(device, ids),
                                        RenderModuleDescriptionFile(device)};
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

    WithoutWindowModule();
    const Strings display = {"QT_QPA_PLATFORM=offscreen"};
    EXPECT_EQ(Run({temp.Write("m.ini", Module("Scope9")), "/SilentAutoInstall"}, display), 0);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(testing::FolderNames(out).size(), 5u);
    EXPECT_TRUE(fs::exists(windows / "inf" / "Scope9_NT5.inf"));
    EXPECT_EQ(Run({}, display), 1);
    EXPECT_EQ(errors.rfind("Tessaly Wizard: The window module could not be loaded (", 0), 0u);
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
}

// Command lines the program cannot follow: the message, the usage, status 2, nothing written and
// no window, though a display is there. "--" and an existing file make the last row a run.
TEST_F(EndToEndTest, CommandLinesThatCannotBeFollowedEndWithStatus2) {
    WithoutWindowModule();
    temp.Write("cwd/-m.ini", Module("Scope9"));
    temp.Write("cwd/m.ini", Module("Scope9"));
    const std::pair<Strings, std::string> cases[] = {
        {{"m.ini", "/SilentAutoInstal"}, "unknown switch \"/SilentAutoInstal\"."},
        {{"-m.ini", "/SilentAutoInstall"}, "unknown switch \"-m.ini\"."},
        {{"/m.ini"}, "unknown switch \"/m.ini\"."},
        {{"--outptu", "out", "m.ini"}, "unknown option \"--outptu\"."},
        {{"--output=", "m.ini"}, "--output needs a folder: --output DIR."},
        {{"-o", "out", "--usb", "0x1234:0x0001"}, "--usb needs --prefix P."},
        {{"-o", "out", "/SilentAutoInstall", "m.ini"},
         "/SilentAutoInstall is not for --output; --install installs what it writes."},
        {{"--package", "m.ini"}, "--package needs --output DIR."},
        {{"-o", "out", "--package", "--sign-cert", "c.pem", "m.ini"},
         "--sign-cert needs --sign-key KEY.pem."},
    };
    for (const auto& [arguments, error] : cases) {
        SCOPED_TRACE(arguments.back());
        EXPECT_EQ(Run(arguments, {"QT_QPA_PLATFORM=offscreen"}), 2);
        EXPECT_EQ(errors.rfind("Tessaly Wizard: " + error + "\nUsage: tessaly-wizard ", 0), 0u)
            << errors;
        EXPECT_EQ(output, "");
    }
    EXPECT_FALSE(fs::exists(home));
    EXPECT_EQ(testing::FolderNames(cwd), (Strings{"-m.ini", "m.ini"}));

    EXPECT_EQ(Run({"/SilentAutoInstall", "--", "-m.ini"}), 0) << errors;
    EXPECT_EQ(testing::FolderNames(out).size(), 5u);
}

// A batch into one folder: each module's files in <prefix>/, byte for byte the golden files; the
// warnings name their module. --list prints the paths written, nothing else.
TEST_F(EndToEndTest, BatchWritesEachModuleIntoItsPrefixFolder) {
    const struct {
        const char* module;
        const char* prefix;
        Strings written;  // the golden file of each file in writing order; the module file last
    } modules[] = {
        {"pxi_subsys.ini",
         "abcdefgh",
         {"abcde_RT.inf:pxi_subsys_RT.inf", "abcdefgh_9x.inf:pxi_subsys_9x.inf",
          "abcdefgh_NT4.inf:pxi_subsys_NT4.inf", "abcdefgh_NT5.inf:pxi_subsys_NT5.inf",
          "abcdefgh.ini:pxi_subsys.ini"}},
        {"pxi_lower.ini",
         "lc",
         {"lc_RT.inf:pxi_lower_RT.inf", "lc_9x.inf:pxi_lower_9x.inf",
          "lc_NT4.inf:pxi_lower_NT4.inf", "lc_NT5.inf:pxi_lower_NT5.inf", "lc.ini:pxi_lower.ini"}},
        {"mdf_simple.ini",
         "PXI-4321Digitizer",
         {"PXI-4_RT.inf:", "PXI-4321Digitizer_9x.inf:", "PXI-4321Digitizer_NT4.inf:",
          "PXI-4321Digitizer_NT5.inf:", "PXI-4321Digitizer.ini:mdf_simple.ini"}},
    };
    Strings arguments = {"--list", "--output", dir.string()};
    std::string listed, warned;
    std::size_t count = 0;
    for (const auto& m : modules) {
        arguments.push_back(testing::GoldenPath(m.module));
        for (const std::string& pair : m.written) {
            listed += (dir / m.prefix / pair.substr(0, pair.find(':'))).string() + "\n";
        }
        count += m.written.size();
    }
    warned = ReadFileBytes(testing::GoldenPath("pxi_subsys_warnings.txt"));
    for (std::size_t at = 0; (at = warned.find("warning:", at)) != std::string::npos; ++at) {
        warned.insert(at, arguments[3] + ": ");
        at += arguments[3].size() + 2;
    }

    EXPECT_EQ(Run(arguments), 0);
    EXPECT_EQ(errors, warned);
    EXPECT_EQ(output, listed);
    const auto tree = Tree(dir);
    EXPECT_EQ(tree.size(), count);
    for (const auto& m : modules) {
        for (const std::string& pair : m.written) {
            const std::string name = pair.substr(0, pair.find(':'));
            const std::string golden = pair.substr(name.size() + 1);
            const auto it = tree.find(std::string(m.prefix) + "/" + name);
            ASSERT_NE(it, tree.end()) << name;
            EXPECT_TRUE(golden.empty() || testing::MatchesGolden(golden, it->second)) << name;
        }
    }
    EXPECT_FALSE(fs::exists(home));
}

// Bad module files between good ones: each named with its reason, the good ones written, the
// status 1. A folder that cannot be made fails only its module.
TEST_F(EndToEndTest, BatchNamesBadModulesAndWritesTheGoodOnes) {
    const std::string one = temp.Write("one.ini", Module("One"));
    const std::string two = temp.Write("two.ini", Module("Two"));
    const std::string missing = (temp.path() / "missing.ini").string();
    const std::string folder = (temp.path() / "folder.ini").string();
    fs::create_directories(folder);
    const std::string notes = temp.Write("notes.txt", "[Notes]\r\nText = a\r\n");
    const std::string blocked = temp.Write("blocked.ini", Module("Blocked"));
    temp.Write("dir/new/Blocked", "a file where the folder goes");

    EXPECT_EQ(Run({"-o", dir.string(), one, missing, folder, notes, blocked, two}), 1);
    EXPECT_EQ(errors,
              Labelled(missing, "There is no such file.") +
                  Labelled(folder, "The file \"" + folder +
                                       "\" cannot be a module description file: it is not a "
                                       "regular file.") +
                  Labelled(notes, "The file you selected is not a valid module description file.") +
                  Labelled(blocked,
                           "Unable to create directory\nThe files cannot be written into "
                           "\"" +
                               (dir / "Blocked").string() + "\"."));
    EXPECT_EQ(output, "");
    EXPECT_EQ(testing::FolderNames(dir), (Strings{"Blocked", "One", "Two"}));
    EXPECT_EQ(testing::FolderNames(dir / "Two").size(), 5u);
}

// A combination module writes every function, each as the run that picks it with /Function:<n>
// writes it on its own.
TEST_F(EndToEndTest, BatchWritesEveryFunctionAsASingleFunctionRunWould) {
    const std::string combo = temp.Write(
        "combo.ini",
        "[Module]\r\nModuleName = \"Combo\"\r\nModuleVendor = \"Acme\"\r\nFunctionList = 1,2,3\r\n"
        "[Function1]\r\nModelCode = 0x1111\r\nManufCode = 0xABCD\r\nVISARegistration = One\r\n"
        "[One]\r\nNumDetectSequences = 1\r\nInterruptDetect0 = \"C8 CFG 0x00000000 0x01 0x01;\"\r\n"
        "[Function2]\r\nType = InternalBridge\r\nDeviceList = 0\r\n[Device0]\r\n"
        "ModelCode = 0x2222\r\nManufCode = 0xABCD\r\nVISARegistration = Two\r\n"
        "[Function3]\r\nModelCode = 0x3333\r\nManufCode = 0xABCD\r\nVISARegistration = Simple\r\n");
    ASSERT_EQ(Run({"--output", dir.string(), combo}), 0) << errors;
    const auto whole = Tree(dir);
    std::map<std::string, std::string> pieces;
    for (const std::string n : {"1", "2", "3"}) {
        const fs::path single = temp.path() / ("single" + n);
        ASSERT_EQ(Run({"--output=" + single.string(), combo, "/Function:" + n}), 0) << errors;
        EXPECT_EQ(testing::FolderNames(single).size(), 1u);
        pieces.merge(Tree(single));
    }
    EXPECT_EQ(testing::FolderNames(dir), (Strings{"Combo", "One", "Two"}));
    EXPECT_EQ(whole.size(), 15u);
    EXPECT_EQ(whole, pieces);
}

// The same prefix twice in one run, in any letter case: the later one is refused and the
// earlier one's files stay as it wrote them.
TEST_F(EndToEndTest, BatchRefusesAPrefixTheRunAlreadyWrote) {
    const std::string first = temp.Write("first.ini", Module("Scope9", "First"));
    const std::string upper = temp.Write("upper.ini", Module("SCOPE9", "Upper"));
    const std::string combination = testing::GoldenPath("module_combination.ini");
    const auto refused = [&combination](const std::string& by) {
        return "The prefix \"ComboModule\" is already written by " + combination + ", function " +
               by + " in this run; these files are not written.";
    };
    const struct {
        Strings modules;
        std::string errors;  // the refusals only; warnings left out
        Strings folders;
        // A file of the prefix and a line only the first device of the prefix writes into it.
        std::pair<std::string, std::string> kept;
    } cases[] = {
        {{first, upper, first},
         Labelled(upper, "The prefix \"SCOPE9\" is already written by " + first +
                             " in this run; these files are not written.") +
             Labelled(first, "The prefix \"Scope9\" is already written by " + first +
                                 " in this run; these files are not written."),
         {"Scope9"},
         {"Scope9/Scope9.ini", "ModuleName = \"First\""}},
        {{combination},
         Labelled(combination + ", function 4", refused("2")) +
             Labelled(combination + ", function 5", refused("2")) +
             Labelled(combination + ", function 6", refused("2")) +
             Labelled(combination + ", function 8", refused("2")),
         {"ComboModule", "CountNegative", "FromSimple", "RegA", "RegD", "SimpleZero"},
         {"ComboModule/ComboModule.ini", "ModelCode = 0xD000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modules.front());
        fs::remove_all(dir);
        Strings arguments = {"-o", dir.string()};
        arguments.insert(arguments.end(), c.modules.begin(), c.modules.end());
        EXPECT_EQ(Run(arguments), 1);
        std::string refusals;
        for (std::size_t start = 0; start < errors.size();) {
            const std::size_t end = errors.find('\n', start) + 1;
            if (errors.find("warning:", start) > end) {
                refusals += errors.substr(start, end - start);
            }
            start = end;
        }
        EXPECT_EQ(refusals, c.errors);
        EXPECT_EQ(testing::FolderNames(dir), c.folders);
        EXPECT_NE(ReadFileBytes((dir / c.kept.first).string()).find(c.kept.second),
                  std::string::npos);
    }
}

// A USB device from options: the WDM INF the wizard writes for the same entries, IDs in any form
// the USB page takes; refused values each named, nothing written.
TEST_F(EndToEndTest, BatchWritesUsbDevicesAsTheWizardDoes) {
    // The names of the golden files' device.
    const Strings names = {"--manufacturer", "Acme Instruments", "--model", "Model 42 Counter"};
    const struct {
        Strings arguments;
        int status;
        std::string golden;  // of dev_WDM.inf; "" when nothing is written
        std::string errors;
    } cases[] = {
        {{"--usb", "0x1234:0xABCD", "--prefix", "dev"}, 0, "wdm_simple.inf", ""},
        {{"--usb=4660:0125715", "--prefix=dev", "--interfaces", "3"}, 0, "wdm_compound.inf", ""},
        {{"--usb", "0:0x1FFFF", "--prefix", "a b", "--interfaces", "100", "--model",
          "\xCE\xA9-Meter"},
         1,
         "",
         "Tessaly Wizard: --usb product ID \"0x1FFFF\": not a number from 0 to 0xFFFF in "
         "decimal, 0x hexadecimal or octal.\n"
         "Tessaly Wizard: --model \"\xCE\xA9-Meter\": the files hold Latin-1 text, which lacks a "
         "character of it.\n"
         "Tessaly Wizard: --prefix \"a b\": All VXIplug&play compliant instrument drivers must "
         "limit the instrument prefix to 31 characters.\nIn addition, the characters must be "
         "valid in the context of a filename.\n"
         "Tessaly Wizard: --usb \"0:0x1FFFF\": Manufacturer ID cannot be zero.\n"},
        {{"--usb", "1:2", "--prefix", "dev", "--interfaces", "1"},
         1,
         "",
         "Tessaly Wizard: --interfaces \"1\": The number of interfaces entered for this compound "
         "device is invalid.  Please choose a number between 2 and 99.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        fs::remove_all(dir);
        Strings arguments = {"-o", dir.string()};
        if (!c.golden.empty()) {
            arguments.insert(arguments.end(), names.begin(), names.end());
        }
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_EQ(Run(arguments), c.status);
        EXPECT_EQ(errors, c.errors);
        if (c.golden.empty()) {
            EXPECT_FALSE(fs::exists(dir));
        } else {
            EXPECT_EQ(Tree(dir).size(), 1u);
            EXPECT_TRUE(testing::MatchesGolden(
                c.golden, ReadFileBytes((dir / "dev" / "dev_WDM.inf").string())));
        }
    }
    // A name typed in UTF-8 reaches the file as the Latin-1 bytes the wizard's field holds.
    EXPECT_EQ(Run({"-o", dir.string(), "--usb", "1:2", "--prefix", "Caf\xC3\xA9", "--model",
                   "5 \xC2\xB5s"}),
              0);
    const std::string wdm = ReadFileBytes((dir / "Caf\xC3\xA9" / "Caf\xC3\xA9_WDM.inf").string());
    EXPECT_NE(wdm.find("\r\nCaf\xE9_WDM.inf\r\n"), std::string::npos);
    EXPECT_NE(wdm.find(".DeviceDesc=\"5 \xB5s\"\r\n"), std::string::npos);
}

// Without --install nothing is written outside DIR, though the registry names the I/O library's
// folder and the resource manager's and a Windows folder is there; with it, the INF is installed
// and the module file copied, and still nothing goes to the default folder. No window module is
// loaded, though a display is there.
TEST_F(EndToEndTest, BatchWritesNothingOutsideItsFolderUnlessInstalling) {
    WithoutWindowModule();
    const fs::path descriptions = temp.path() / "pxirm" / "Hardware Descriptions";
    fs::create_directories(descriptions);
    const std::string registry =
        temp.Write("r.reg",
                   "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\ZEL-VISA for Windows "
                   "95/NT]\r\n\"InstDir\"=\"" +
                       (temp.path() / "instdir").string() +
                       "\"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\ZEL-PXIRM\\CurrentVersion]"
                       "\r\n\"Path\"=\"" +
                       (temp.path() / "pxirm").string() + "\"\r\n");
    const std::string module = temp.Write("m.ini", Module("Scope9"));
    const Strings env = {"TESSALY_REGISTRY=" + registry, "QT_QPA_PLATFORM=offscreen"};
    const auto before = Tree(temp.path());

    EXPECT_EQ(Run({"-o", dir.string(), module}, env), 0);
    EXPECT_EQ(Run({"-o", dir.string(), "--usb", "1:2", "--prefix", "Usb"}, env), 0);
    EXPECT_EQ(errors + output, "");
    auto after = Tree(temp.path());
    std::erase_if(after, [](const auto& file) { return file.first.starts_with("dir/new/"); });
    EXPECT_EQ(after.size(), before.size() + 2);  // the two runs' standard error and output
    EXPECT_EQ(Tree(dir).size(), 6u);

    EXPECT_EQ(Run({"--install", "-o", dir.string(), module, "--list"}, env), 0) << errors;
    EXPECT_EQ(errors, "");
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 5);
    EXPECT_EQ(Tree(descriptions / "Modules").size(), 1u);
    EXPECT_EQ(ReadFileBytes((windows / "inf" / "Scope9_NT5.inf").string()),
              ReadFileBytes((dir / "Scope9" / "Scope9_NT5.inf").string()));
    EXPECT_FALSE(fs::exists(home) || fs::exists(temp.path() / "instdir"));

    // A package is installed in the XP/2000 INF's place: its INF and catalog staged side by side.
    fs::remove_all(windows / "inf");
    fs::create_directories(windows / "inf");
    EXPECT_EQ(Run({"--install", "--package", "-o", dir.string(), module}, env), 0) << errors;
    EXPECT_EQ(testing::FolderNames(windows / "inf"), (Strings{"Scope9.cat", "Scope9.inf"}));
    for (const char* name : {"Scope9.cat", "Scope9.inf"}) {
        EXPECT_EQ(ReadFileBytes((windows / "inf" / name).string()),
                  ReadFileBytes((dir / "Scope9" / "package" / name).string()));
    }
}

// --package: each device's package beside its files. With the fixture certificate, the date of
// SOURCE_DATE_EPOCH and a driver version, the golden device's package is the golden one byte
// for byte, whichever way the certificate is given.
TEST_F(EndToEndTest, BatchWritesEachDevicesDriverPackage) {
    // The golden package's device: the golden module with a second detection sequence.
    std::string golden = ReadFileBytes(testing::GoldenPath("pxi_subsys.ini"));
    golden.replace(
        golden.find("NumDetectSequences = 1\r\n"), 24,
        "NumDetectSequences = 2\r\nInterruptDetect1 = \"C8 CFG 0x00000044 0xFF 0x01;\"\r\n");
    const struct {
        Strings device;
        Strings signing;
        Strings env;
        std::string prefix;
        std::string goldenInf;
        std::string goldenCatalog;  // "": verified against the fixture certificate instead
    } cases[] = {
        {{temp.Write("golden.ini", golden)},
         {"--sign-key", kFixtures + "/signer.key", "--sign-cert", kFixtures + "/signer.crt"},
         {},
         "abcdefgh",
         "package_pxi_subsys.inf",
         "package_pxi_subsys.cat"},
        {{"--usb", "0x1234:0xABCD", "--prefix", "scope", "--manufacturer", "Acme", "--model",
          "Scope 5", "--interfaces", "3"},
         {"--sign-pfx", kFixtures + "/signer.pfx"},
         {"TESSALY_PFX_PASSWORD=fixture-password"},
         "scope",
         "package_usb_compound.inf",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefix);
        fs::remove_all(dir);
        Strings arguments = {"-o",        dir.string(),       "--list",
                             "--package", "--driver-version", "1.2.3.4"};
        arguments.insert(arguments.end(), c.signing.begin(), c.signing.end());
        arguments.insert(arguments.end(), c.device.begin(), c.device.end());
        Strings env = {"SOURCE_DATE_EPOCH=1700000000"};
        env.insert(env.end(), c.env.begin(), c.env.end());

        ASSERT_EQ(Run(arguments, env), 0) << errors;
        const fs::path package = dir / c.prefix / "package";
        EXPECT_EQ(testing::FolderNames(package), (Strings{c.prefix + ".cat", c.prefix + ".inf"}));
        EXPECT_TRUE(testing::MatchesGolden(
            c.goldenInf, ReadFileBytes((package / (c.prefix + ".inf")).string())));
        const fs::path catalog = package / (c.prefix + ".cat");
        if (c.goldenCatalog.empty()) {
            EXPECT_TRUE(VerifiedByOsslsigncode(catalog, kFixtures + "/signer.crt"));
        } else {
            EXPECT_TRUE(testing::MatchesGolden(c.goldenCatalog, ReadFileBytes(catalog.string())));
        }
        // The seed's files first, then the package's, as they were written.
        EXPECT_TRUE(output.ends_with(catalog.string() + "\n" +
                                     (package / (c.prefix + ".inf")).string() + "\n"))
            << output;
    }
}

// Without a certificate of the user's, every package gets a certificate made for it alone,
// its public part beside it, and the date is the day of the run.
TEST_F(EndToEndTest, BatchSignsEachPackageWithACertificateOfItsOwn) {
    const std::string combo = temp.Write(
        "combo.ini",
        "[Module]\r\nModuleName = \"Combo\"\r\nFunctionList = 1,2\r\n[Function1]\r\n"
        "ModelCode = 0x1111\r\nManufCode = 0xABCD\r\nVISARegistration = One\r\n[Function2]\r\n"
        "ModelCode = 0x2222\r\nManufCode = 0xABCD\r\nVISARegistration = Two\r\n");
    const std::time_t before = std::time(nullptr);
    ASSERT_EQ(Run({"--output", dir.string(), "--package", combo}), 0) << errors;
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(errors, "");
    for (const auto& [prefix, other] : {std::pair{"One", "Two"}, std::pair{"Two", "One"}}) {
        SCOPED_TRACE(prefix);
        const fs::path package = dir / prefix / "package";
        const std::string name = prefix;
        EXPECT_EQ(testing::FolderNames(package),
                  (Strings{name + ".cat", name + ".cer", name + ".inf"}));
        const fs::path catalog = package / (name + ".cat");
        EXPECT_TRUE(VerifiedByOsslsigncode(catalog, package / (name + ".cer")));
        EXPECT_FALSE(VerifiedByOsslsigncode(
            catalog, dir / other / "package" / (std::string(other) + ".cer")));
        const std::string inf = ReadFileBytes((package / (name + ".inf")).string());
        EXPECT_TRUE(inf.find("DriverVer=" + DriverVerValue(before, "1.0.0.0")) !=
                        std::string::npos ||
                    inf.find("DriverVer=" + DriverVerValue(after, "1.0.0.0")) != std::string::npos)
            << inf;
    }
}

// Signing input the package cannot use: the file named, no package, status 1, the seed's files
// written all the same. A date that is no date stops the run before anything is written.
TEST_F(EndToEndTest, BatchWritesNoPackageFromInputItCannotUse) {
    const std::string module = temp.Write("m.ini", Module("Scope9"));
    const std::string pfx = kFixtures + "/signer.pfx";
    const struct {
        Strings env;
        std::string error;
        std::size_t seedFiles;
    } cases[] = {
        {{"TESSALY_PFX_PASSWORD=guess"},
         Labelled(module,
                  "The driver package was not written: the password does not open " + pfx + "."),
         5},
        {{"TESSALY_PFX_PASSWORD=fixture-password", "SOURCE_DATE_EPOCH=2024-01-01"},
         "Tessaly Wizard: SOURCE_DATE_EPOCH \"2024-01-01\" is not a number of seconds since "
         "1970; nothing is written.\n",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.env.back());
        fs::remove_all(dir);
        EXPECT_EQ(Run({"-o", dir.string(), "--package", "--sign-pfx", pfx, module}, c.env), 1);
        EXPECT_EQ(errors, c.error);
        // The five of the seed, or none; never one of the package.
        EXPECT_EQ(Tree(dir).size(), c.seedFiles);
    }
}

}  // namespace
}  // namespace tessaly
