#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "modulefile/ModuleFileWriter.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/Golden.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakeFileSystem;
using testing::FakePlatform;
using testing::MatchesGolden;
using testing::RecordingPrompter;
using Log = std::vector<std::string>;

DeviceDescription SimplePxiDevice() {
    DeviceDescription device;
    device.ManufCode = "0x1234";
    device.ModelCode = "0x4321";
    device.ManufName = "Acme Instruments";
    device.ModelName = "PXI-4321 Digitizer";
    device.InstrumentPrefix = "acme4321";
    return device;
}

// Subsystem IDs, two detection sequences, a quote in the model name and ID texts that are not
// canonical (only their last four characters are written).
DeviceDescription InterruptingPxiDevice() {
    DeviceDescription device = SimplePxiDevice();
    device.ModelName = "PXI-4321 \"Fast\" Digitizer";
    device.ModelCode = "0xabcd";
    device.ManufCode = "0x01234";
    device.UsesSubsystem = true;
    device.SubsystemModelCode = "0x0001";
    device.SubsystemManufCode = "0x5678";
    device.GeneratesInterrupts = true;
    device.DetectSequences = {
        {0, "C16 BAR0 0x00000010 0xFFFF 0x0001;", 1},
        {7, "R8 CFG 0x00000004;C32 BAR1 0x00000100 0x80000000 0x80000000;", 2},
    };
    device.RemovalSteps = "W32 BAR1 0x00000100 0x00000001;";
    return device;
}

DeviceDescription EmptyRemovalPxiDevice() {
    DeviceDescription device = SimplePxiDevice();
    device.GeneratesInterrupts = true;
    device.SubsystemModelCode = "0x9999";  // not written without UsesSubsystem
    return device;
}

struct GoldenCase {
    const char* golden;
    DeviceDescription (*device)();
};

void PrintTo(const GoldenCase& golden, std::ostream* out) {
    *out << golden.golden;
}

class ModuleFileGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ModuleFileGoldenTest, RendersTheFile) {
    EXPECT_TRUE(MatchesGolden(GetParam().golden, RenderModuleDescriptionFile(GetParam().device())));
}

INSTANTIATE_TEST_SUITE_P(Devices, ModuleFileGoldenTest,
                         ::testing::Values(GoldenCase{"mdf_simple.ini", SimplePxiDevice},
                                           GoldenCase{"mdf_interrupts.ini", InterruptingPxiDevice},
                                           GoldenCase{"mdf_empty_removal.ini",
                                                      EmptyRemovalPxiDevice}));

// Passes every call on and logs the paths of the directory work and the copy exactly as the
// writer composed them (the fake itself resolves doubled separators).
class PathLoggingFileSystem final : public FileSystem {
public:
    explicit PathLoggingFileSystem(FileSystem& inner) : inner_(inner) {}

    Log log;

    char Separator() const override { return inner_.Separator(); }
    bool WriteFile(const std::string& path, std::string_view bytes) override {
        return inner_.WriteFile(path, bytes);
    }
    bool CanOpenForReading(const std::string& path) override {
        return inner_.CanOpenForReading(path);
    }
    FileAttributes QueryAttributes(const std::string& path) override {
        log.push_back("query " + path);
        return inner_.QueryAttributes(path);
    }
    bool MakeDirectory(const std::string& path) override {
        log.push_back("mkdir " + path);
        return inner_.MakeDirectory(path);
    }
    bool CopyReplacing(const std::string& from, const std::string& to) override {
        log.push_back("copy " + from + " > " + to);
        return inner_.CopyReplacing(from, to);
    }
    bool RemoveFile(const std::string& path) override { return inner_.RemoveFile(path); }

private:
    FileSystem& inner_;
};

constexpr const char* kResourceManagerKey = "SOFTWARE\\Quorvane\\ZEL-PXIRM\\CurrentVersion";
constexpr const char* kWritten = "c:\\out\\acme4321.ini";
constexpr const char* kDescriptions = "c:\\pxi\\Hardware Descriptions";
constexpr const char* kModules = "c:\\pxi\\Hardware Descriptions\\Modules";
constexpr const char* kCopy = "c:\\pxi\\Hardware Descriptions\\Modules\\acme4321.ini";

class WriteModuleFileTest : public ::testing::Test {
protected:
    WriteModuleFileTest() {
        fake.files.AddDirectory("c:\\out");
        plan.Files.ModuleFile = kWritten;
    }

    void SetPath(const std::string& path) {
        fake.registry.SetString(kResourceManagerKey, "Path", path);
    }
    void Write() {
        WriteModuleDescriptionFile(
            device, plan, Platform{fake.registry, files, fake.system, fake.shell, fake.plugAndPlay},
            prompter);
    }
    // The file was written and nothing was shown.
    void ExpectWrittenQuietly() {
        ASSERT_TRUE(fake.files.HasFile(kWritten));
        EXPECT_TRUE(MatchesGolden("mdf_interrupts.ini", fake.files.Contents(kWritten)));
        EXPECT_TRUE(prompter.messages.empty());
    }

    FakePlatform fake;
    PathLoggingFileSystem files{fake.files};
    RecordingPrompter prompter;
    DeviceDescription device = InterruptingPxiDevice();
    OutputPlan plan;
};

TEST_F(WriteModuleFileTest, FileThatCannotBeOpenedGivesTheMessageAndNoCopy) {
    SetPath("c:\\pxi");
    fake.files.AddDirectory(kModules);
    fake.files.LockFile(kWritten);
    Write();
    EXPECT_EQ(prompter.messages,
              (std::vector<RecordingPrompter::Message>{
                  {"Unable to save Module Description File", MessageIcon::Exclamation}}));
    EXPECT_TRUE(files.log.empty());
    EXPECT_FALSE(fake.files.HasFile(kCopy));
}

TEST_F(WriteModuleFileTest, NoResourceManagerKeyMeansNoCopy) {
    fake.files.AddDirectory(kModules);
    fake.registry.SetString("SOFTWARE\\Quorvane\\ZEL-PXIRM", "Path", "c:\\pxi");  // not the key
    Write();
    ExpectWrittenQuietly();
    EXPECT_TRUE(files.log.empty());
}

TEST_F(WriteModuleFileTest, NoPathValueMeansNoCopy) {
    fake.files.AddDirectory(kModules);
    fake.registry.SetString(kResourceManagerKey, "InstDir", "c:\\pxi");
    Write();
    ExpectWrittenQuietly();
    EXPECT_TRUE(files.log.empty());
}

TEST_F(WriteModuleFileTest, PathIsReadIntoTwoHundredFiftySixBytes) {
    const std::string longest = "c:\\" + std::string(252, 'p');  // 255 bytes and the terminator
    fake.files.AddDirectory(longest + "\\Hardware Descriptions\\Modules");
    SetPath(longest);
    Write();
    EXPECT_TRUE(fake.files.HasFile(longest + "\\Hardware Descriptions\\Modules\\acme4321.ini"));

    const std::string tooLong = longest + "q";
    fake.files.AddDirectory(tooLong + "\\Hardware Descriptions\\Modules");
    SetPath(tooLong);
    files.log.clear();
    Write();
    ExpectWrittenQuietly();
    EXPECT_TRUE(files.log.empty());
}

class TrailingSeparatorTest : public WriteModuleFileTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(TrailingSeparatorTest, GivesTheSameDirectory) {
    fake.files.AddDirectory(kModules);
    SetPath(GetParam());
    Write();
    ExpectWrittenQuietly();
    EXPECT_EQ(files.log, (Log{std::string("query ") + kModules,
                              std::string("copy ") + kWritten + " > " + kCopy}));
    ASSERT_TRUE(fake.files.HasFile(kCopy));
    EXPECT_EQ(fake.files.Contents(kCopy), fake.files.Contents(kWritten));
}

INSTANTIATE_TEST_SUITE_P(Paths, TrailingSeparatorTest,
                         ::testing::Values("c:\\pxi", "c:\\pxi\\", "c:\\pxi\\\\\\"));

TEST_F(WriteModuleFileTest, MissingModulesFolderIsCreatedAndAnOldCopyReplaced) {
    fake.files.AddDirectory(kDescriptions);
    SetPath("c:\\pxi");
    Write();
    ExpectWrittenQuietly();
    EXPECT_EQ(files.log,
              (Log{std::string("query ") + kModules, std::string("mkdir ") + kDescriptions,
                   std::string("mkdir ") + kModules, std::string("query ") + kModules,
                   std::string("copy ") + kWritten + " > " + kCopy}));
    EXPECT_TRUE(fake.files.HasDirectory(kModules));
    ASSERT_TRUE(fake.files.HasFile(kCopy));

    fake.files.AddFile(kCopy, "an older copy");
    Write();
    EXPECT_EQ(fake.files.Contents(kCopy), fake.files.Contents(kWritten));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(WriteModuleFileTest, MissingHardwareDescriptionsFolderMeansNoCopy) {
    fake.files.AddDirectory("c:\\pxi");
    SetPath("c:\\pxi");
    Write();
    ExpectWrittenQuietly();
    EXPECT_EQ(files.log, Log{std::string("query ") + kModules});
    EXPECT_FALSE(fake.files.HasDirectory(kDescriptions));
}

TEST_F(WriteModuleFileTest, PlainFileNamedModulesMeansNoCopy) {
    fake.files.AddFile(kModules, "not a folder");
    SetPath("c:\\pxi");
    Write();
    ExpectWrittenQuietly();
    EXPECT_EQ(files.log, Log{std::string("query ") + kModules});
    EXPECT_EQ(fake.files.Contents(kModules), "not a folder");
}

TEST_F(WriteModuleFileTest, FailedCopyGivesTheMessage) {
    fake.files.AddDirectory(kModules);
    fake.files.AddFile(kCopy, "held open");
    fake.files.LockFile(kCopy);
    SetPath("c:\\pxi");
    Write();
    EXPECT_EQ(prompter.messages,
              (std::vector<RecordingPrompter::Message>{
                  {"Unable to copy Module Description File to PXI hardware description file "
                   "directory.",
                   MessageIcon::Exclamation}}));
    EXPECT_EQ(fake.files.Contents(kCopy), "held open");
}

TEST(WriteModuleFileWithSlashesTest, ComposesWithThePlatformSeparator) {
    FakePlatform fake('/');
    fake.files.AddDirectory("/opt/pxi/Hardware Descriptions");
    fake.files.AddDirectory("/home/user/out");
    fake.registry.SetString(kResourceManagerKey, "Path", "/opt/pxi/");
    OutputPlan plan;
    plan.Files.ModuleFile = "/home/user/out/acme4321.ini";
    RecordingPrompter prompter;
    WriteModuleDescriptionFile(SimplePxiDevice(), plan, fake.platform(), prompter);
    ASSERT_TRUE(fake.files.HasFile("/opt/pxi/Hardware Descriptions/Modules/acme4321.ini"));
    EXPECT_TRUE(
        MatchesGolden("mdf_simple.ini",
                      fake.files.Contents("/opt/pxi/Hardware Descriptions/Modules/acme4321.ini")));
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace tessaly
