// The unattended run against the real file system when it fails underneath: every failure is
// its writer's message and exit status 1, and no output path ever holds part of a file.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/WizardApp.h"
#include "platform/NativeSystem.h"
#include "system/posix/PosixPlatform.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr const char* kCouldNotInstall = "The wizard could not install the output files.";

// The five files of the run in writing order, with the message each writer gives.
const std::array<std::pair<const char*, const char*>, 5> kOutputs = {{
    {"Scope_RT.inf", "Unable to save Vantorix RT Setup Information File"},
    {"Scope9_9x.inf", "Unable to save Windows 9x Setup Information File"},
    {"Scope9_NT4.inf", "Unable to save Windows NT Setup Information File"},
    {"Scope9_NT5.inf", "Unable to save Windows XP/2000 Setup Information File"},
    {"Scope9.ini", "Unable to save Module Description File"},
}};

// Two descriptions of one instrument prefix that differ in every file.
std::string Module(const std::string& name, const std::string& code) {
    return "[Module]\r\nModuleName = \"" + name + "\"\r\nModuleVendor = \"" + name +
           " Inc\"\r\nModelCode = " + code + "\r\nManufCode = " + code +
           "\r\nVISARegistration = Scope9\r\n[Scope9]\r\nNumDetectSequences = 1\r\n"
           "InterruptDetect0 = \"R8 CFG 0x00000004;\"\r\n";
}

class FakeWizardUi final : public WizardUi {
public:
    testing::RecordingPrompter recorder;
    Prompter& prompter() override { return recorder; }
    void RunWizard(WizardModel&, PageId) override { ADD_FAILURE() << "no wizard in this run"; }
};

// One machine: a home folder, a Windows image and the two module files.
struct Machine {
    testing::TempDir temp;
    fs::path home = temp.path() / "home";
    fs::path windows = temp.path() / "windows";
    fs::path out = home / "vxipnp" / "winnt" / "Scope9";
    fs::path installed = windows / "inf" / "Scope9_NT5.inf";
    std::string newModule = temp.Write("new.ini", Module("Scope 9", "0x1234"));
    std::string oldModule = temp.Write("old.ini", Module("Old Scope", "0x4321"));
    std::string mounted;  // a file system mounted for this machine, gone before its folder

    Machine() { fs::create_directories(windows / "inf"); }
    ~Machine() {
        if (!mounted.empty()) {
            ::umount2(mounted.c_str(), MNT_DETACH);
        }
    }

    // Runs `module /SilentAutoInstall`; gives the exit status and the messages.
    int Run(const std::string& module, Strings* messages = nullptr, DiskCalls disk = {}) {
        PosixFileSystem files(disk);
        MemoryRegistry registry;
        std::ostringstream warnings;
        PosixSystemInfo system(windows.string(), home.string(), warnings);
        testing::FakeShell shell;
        testing::FakePlugAndPlay plugAndPlay;
        testing::FakeFtpClient ftp;
        testing::FakeDeviceSource devices;
        testing::FakeDriverStore driverStore;
        FakeWizardUi ui;
        std::ostringstream output;
        SequentialWorkers workers;
        const std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();
        const int status = RunWizardApp(
            {module, "/SilentAutoInstall"},
            Platform{registry, files, system, shell, plugAndPlay, ftp, devices, driverStore}, ui,
            output, workers, PackageEnvironment{*crypto});
        if (messages) {
            *messages = ui.recorder.Texts();
        }
        return status;
    }

    std::optional<std::string> Read(const fs::path& path) const {
        if (!fs::exists(fs::symlink_status(path))) {
            return std::nullopt;
        }
        return testing::ReadFileBytes(path.string());
    }
    std::vector<std::optional<std::string>> Outputs() const {
        std::vector<std::optional<std::string>> files;
        for (const auto& [name, message] : kOutputs) {
            files.push_back(Read(out / name));
        }
        files.push_back(Read(installed));
        return files;
    }
};

// Makes the output folder read-only: by permission bits for an ordinary user, by a read-only
// bind mount for root, whom permission bits do not stop.
std::string ReadOnly(Machine& m) {
    const std::string folder = m.out.string();
    if (::geteuid() != 0) {
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        return "";
    }
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        return std::string("root cannot bind-mount here: ") + std::strerror(errno);
    }
    m.mounted = folder;
    if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        return std::string("cannot remount read-only: ") + std::strerror(errno);
    }
    return "";
}

struct FailureCase {
    const char* name;
    bool earlierRun;  // the old module's complete set is there first, installed
    // Prepares the fault; gives why it cannot be made here, "" when it is in place.
    std::function<std::string(Machine&)> fault;
    DiskCalls disk;
    int status;
    // The messages, or nullopt where they follow from which files the disk took: one failure
    // message for each file that did not reach its new version.
    std::optional<Strings> messages;
};

// Lets `budget` bytes reach the disk in all, then reports it full.
DiskCalls FullAfter(std::size_t budget) {
    DiskCalls disk;
    disk.write = [left = std::make_shared<std::size_t>(budget)](int fd, const void* data,
                                                                std::size_t size) -> ssize_t {
        if (*left == 0) {
            errno = ENOSPC;
            return -1;
        }
        const ssize_t written = ::write(fd, data, std::min(size, *left));
        *left -= written > 0 ? static_cast<std::size_t>(written) : 0;
        return written;
    };
    return disk;
}

const auto none = [](Machine&) { return std::string(); };

const FailureCase kCases[] = {
    // A 16 KiB disk that the first files fill.
    {"DiskFull",
     false,
     [](Machine& m) {
         fs::create_directories(m.out);
         if (::mount("tmpfs", m.out.c_str(), "tmpfs", 0, "size=16k") != 0) {
             return std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
         }
         m.mounted = m.out.string();
         return std::string();
     },
     {},
     1,
     std::nullopt},
    // The disk fills during the third file, over an earlier set that must stay whole.
    {"DiskFullOverAnEarlierSet", true, none, FullAfter(5000), 1, std::nullopt},
    {"ReadOnlyFolder", true, ReadOnly, {}, 1, std::nullopt},
    {"FileWhereAFolderShouldBe",
     false,
     [](Machine& m) {
         m.temp.Write("home/vxipnp/winnt", "not a folder");
         return std::string();
     },
     {},
     1,
     Strings{"Unable to create directory", "The wizard could not save the output files."}},
    // Files made read-only (chmod 444): an output file and the installed INF stay as they are.
    {"ReadOnlyFiles",
     true,
     [](Machine& m) {
         for (const fs::path& file : {m.out / kOutputs[2].first, m.installed}) {
             fs::permissions(
                 file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         }
         return std::string();
     },
     {},
     1,
     Strings{kOutputs[2].second, kCouldNotInstall}},
    {"LinksAtTheTargets",
     true,
     [](Machine& m) {
         const std::string victim = m.temp.Write("victim", "victim");
         fs::remove(m.out / kOutputs[3].first);
         fs::remove(m.out / kOutputs[1].first);
         fs::create_symlink(victim, m.out / kOutputs[3].first);
         fs::create_symlink(m.temp.path() / "nowhere", m.out / kOutputs[1].first);
         return std::string();
     },
     {},
     0,
     std::nullopt},
};

class SaveFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SaveFailureTest, FailsWithItsMessageAndLeavesNoPartialFile) {
    const FailureCase& c = GetParam();
    // The files a clean run writes from each module: the versions a reader may ever see.
    Machine fresh, m;
    ASSERT_EQ(fresh.Run(fresh.newModule), 0);
    const auto after = fresh.Outputs();
    std::vector<std::optional<std::string>> before(after.size());
    if (c.earlierRun) {
        ASSERT_EQ(m.Run(m.oldModule), 0);
        before = m.Outputs();
    }
    if (const std::string why = c.fault(m); !why.empty()) {
        GTEST_SKIP() << why;
    }

    Strings messages;
    EXPECT_EQ(m.Run(m.newModule, &messages, c.disk), c.status);

    // Each file, the installed copy last, is its new version, or the earlier one (or none) kept
    // whole; a failure message stands for each file that is not new.
    const auto outputs = m.Outputs();
    Strings failed;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        SCOPED_TRACE(i < kOutputs.size() ? kOutputs[i].first : "installed");
        EXPECT_TRUE(outputs[i] == after[i] || outputs[i] == before[i])
            << outputs[i].value_or("(none)").substr(0, 200);
        if (outputs[i] != after[i] && i < kOutputs.size()) {
            failed.push_back(kOutputs[i].second);
        }
    }
    if (outputs[3] != after[3]) {
        failed.push_back(kCouldNotInstall);
    }
    EXPECT_EQ(messages, c.messages.value_or(failed));
    EXPECT_EQ(failed.empty(), c.status == 0) << "the fault did not hit";
    // No temporary stays behind, and a link's target is never written through.
    if (fs::is_directory(m.out)) {
        for (const auto& entry : fs::directory_iterator(m.out)) {
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
        }
    }
    EXPECT_FALSE(fs::exists(m.temp.path() / "nowhere"));
    if (fs::exists(m.temp.path() / "victim")) {
        EXPECT_EQ(testing::ReadFileBytes((m.temp.path() / "victim").string()), "victim");
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFailureTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tessaly
