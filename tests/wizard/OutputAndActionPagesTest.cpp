#include <memory>

#include "actions/PackageInstaller.h"
#include "platform/NativeSystem.h"
#include "platform/PackageCrypto.h"
#include "resources/StringTable.h"
#include "tests/wizard/SheetHarness.h"

namespace tessaly::testing {
namespace {

using OutputPage = SheetHarness;
using Strings = std::vector<std::string>;

constexpr std::int64_t kJan1of2025 = 1735689600;

// The PXI files for the prefix, in the default directory unless another is given.
std::string PxiList(const std::string& prefix, std::string dir = {}) {
    dir = dir.empty() ? "/vxipnp/winnt/" + prefix : dir;
    return dir + "/" + prefix.substr(0, 5) + "_RT.inf\r\n" + dir + "/" + prefix + "_9x.inf\r\n" +
           dir + "/" + prefix + "_NT4.inf\r\n" + dir + "/" + prefix + "_NT5.inf\r\n" + dir + "/" +
           prefix + ".ini";
}

// The title, label, note and list follow the bus chosen on page 1 at every activation.
TEST_F(OutputPage, FollowsTheBusChosenOnPage1) {
    Open();
    for (const bool usb : {true, false}) {
        Check(usb ? kUsbRadio : kPxiRadio);
        Next();
        Next();
        EXPECT_EQ(sheetView.title, usb ? "Tessaly Wizard - USB - Output Files"
                                       : "Tessaly Wizard - PXI - Output Files");
        EXPECT_EQ(Text(kPrefixLabel), usb ? "USB Instrument &Prefix" : "PXI Instrument &Prefix");
        EXPECT_EQ(Text(kNoteText),
                  usb ? strings::kUsbDistributionNote : strings::kPxiDistributionNote);
        EXPECT_EQ(Text(kFileListText),
                  usb ? "/vxipnp/winnt/prefix/prefix_WDM.inf" : PxiList("prefix"));
        EXPECT_FALSE(Enabled(kPackageCheck));  // nothing to sign a package with
        Back();
        Back();
    }
}

// The directory follows every keystroke of the prefix until it is edited. A refused prefix is
// kept while typed and reset, with the message, when the field is left or on Enter. Browse
// replaces the directory only when confirmed; Next stays while the directory is not created.
TEST_F(OutputPage, DirectoryFollowsThePrefixUntilEditedAndNextWritesThere) {
    dialogs.folderChoices = {std::nullopt, std::string("/vxipnp/new")};
    prompter.yesNoAnswers = {false, true};
    Open(kPageFinal);
    for (const std::string prefix : {"prefixa", "prefixab", "prefixab\xe9"}) {
        Type(kPrefixEdit, prefix);
        EXPECT_EQ(Text(kFileListText),
                  PxiList(prefix == "prefixab\xe9" ? "prefixab\xc3\xa9" : prefix));
    }
    Type(kDirectoryEdit, "/vxipnp/out");
    for (const bool enter : {false, true}) {
        Type(kPrefixEdit, "a b");
        EXPECT_EQ(Text(kFileListText), PxiList("a b", "/vxipnp/out"));
        enter ? Next() : Leave(kPrefixEdit);
        EXPECT_EQ(Text(kPrefixEdit), "prefix");
        EXPECT_EQ(Text(kFileListText), PxiList("prefix", "/vxipnp/out"));
    }
    EXPECT_EQ(prompter.Texts().size(), 2u);  // OutputPlanTest checks the message
    Click(kBrowseButton);
    Click(kBrowseButton);
    EXPECT_EQ(dialogs.folderDialogs, (std::vector<std::string>{"/vxipnp/out", "/vxipnp/out"}));
    EXPECT_EQ(Text(kDirectoryEdit), "/vxipnp/new");
    Next();
    EXPECT_EQ(Page(), kPageFinal);
    Next();
    EXPECT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/new/prefix_NT5.inf"));
}

// The warnings show while a value makes one, and Next writes the files all the same.
// InfHazardsTest checks the texts.
TEST_F(OutputPage, WarningsFollowTheValuesAndNextStillWrites) {
    Open(kPageFinal);
    EXPECT_FALSE(View()[kHazardText].visible);
    Type(kPrefixEdit, "a,b");
    EXPECT_TRUE(View()[kHazardText].visible);
    EXPECT_EQ(Text(kHazardText).rfind("InstrumentPrefix \"a,b\"", 0), 0u) << Text(kHazardText);
    Type(kPrefixEdit, "a");
    EXPECT_FALSE(View()[kHazardText].visible);
    model.device.ModelName = "The \"Best\" Meter";
    Back();
    Next();
    EXPECT_EQ(Text(kHazardText).rfind("ModelName", 0), 0u) << Text(kHazardText);
    prompter.yesNoAnswers = {true};
    Next();
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/a/a_NT5.inf"));
}

// The driver package box: off until checked; checked, the list names the package's files and
// Next writes them after the seed's and forgets an earlier generation's package. A package that
// is not written keeps the page, with a message naming why.
struct PackageRow {
    const char* name;
    bool checked;
    const char* epoch;    // SOURCE_DATE_EPOCH; nullptr when unset
    bool folderBlocked;   // a file holds the package folder's name
    bool written;         // Next goes on with the package (when checked)
    const char* message;  // what Next says; "" for nothing
};

class OutputPagePackage : public SheetHarness, public ::testing::WithParamInterface<PackageRow> {};

TEST_P(OutputPagePackage, NextWritesItAfterTheFilesOrStays) {
    const PackageRow& row = GetParam();
    const std::unique_ptr<PackageCrypto> crypto = MakeNativePackageCrypto();
    const PackageEnvironment environment{
        *crypto, kJan1of2025, row.epoch ? std::optional<std::string>(row.epoch) : std::nullopt};
    packages = &environment;
    const std::string folder = "/vxipnp/winnt/prefix/package";
    if (row.folderBlocked) {
        fake.files.AddFile(folder, "");
    }
    model.plan.Package = DriverPackage{};  // an earlier generation's
    Open(kPageFinal);
    EXPECT_TRUE(Enabled(kPackageCheck));
    EXPECT_FALSE(View()[kPackageCheck].checked);
    Check(kPackageCheck, row.checked);
    const std::string stem = folder + "/prefix";
    EXPECT_EQ(
        Text(kFileListText),
        PxiList("prefix") +
            (row.checked ? "\r\n" + stem + ".inf\r\n" + stem + ".cat\r\n" + stem + ".cer" : ""));
    Next();
    EXPECT_EQ(Page(), row.written ? kPageAfterSaveAction : kPageFinal);
    EXPECT_TRUE(fake.files.HasFile("/vxipnp/winnt/prefix/prefix_NT5.inf"));
    const bool package = row.checked && row.written;
    for (const char* extension : {".inf", ".cat", ".cer"}) {
        EXPECT_EQ(fake.files.HasFile(stem + extension), package) << extension;
    }
    ASSERT_EQ(model.plan.Package.has_value(), package);
    if (package) {
        EXPECT_EQ(model.plan.Package->inf, stem + ".inf");
        EXPECT_TRUE(model.plan.Package->generatedCertificate);
    }
    EXPECT_EQ(prompter.Texts(), *row.message ? Strings{row.message} : Strings{});
}

const PackageRow kPackageRows[] = {
    {"Unchecked", false, nullptr, false, true, ""},
    {"Checked", true, nullptr, false, true, ""},
    {"Dated", true, "1700000000", false, true, ""},
    {"FolderBlocked", true, nullptr, true, false,
     "Unable to save the driver package: /vxipnp/winnt/prefix/package cannot be written."},
    {"NoDate", true, "yesterday", false, false,
     "The driver package was not written: SOURCE_DATE_EPOCH \"yesterday\" is not a number of "
     "seconds since 1970."},
};
INSTANTIATE_TEST_SUITE_P(Rows, OutputPagePackage, ::testing::ValuesIn(kPackageRows),
                         [](const auto& row) { return std::string(row.param.name); });

using ActionPages = SheetHarness;

// Install takes the package page 6 wrote in the seed INF's place, once the user trusts its
// certificate (the question shows its subject and thumbprint): No installs nothing and says
// nothing more, a refusal of the stores says the package was not installed. Without a package
// the seed INF goes in, after the warning that 64-bit Windows will not use it.
TEST_F(ActionPages, InstallTakesThePackageWhenOneWasWritten) {
    struct Row {
        const char* name;
        bool package;
        bool yes;
        bool trusted;  // the certificate stores take the certificate
        bool is64Bit;
        Strings installed;  // into the driver store
        bool seedInstalled;
        std::size_t messages;  // after the question, if any
    };
    const Row rows[] = {
        {"package trusted", true, true, true, false, {"/out/package/dev.inf"}, false, 0},
        {"package declined", true, false, true, false, {}, false, 0},
        {"stores refuse", true, true, false, false, {}, false, 2},
        {"seed INF, 64-bit", false, false, true, true, {}, true, 1},
        {"seed INF", false, false, true, false, {}, true, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fake.driverStore = {};
        fake.driverStore.trustSucceeds = row.trusted;
        fake.driverStore.is64Bit = row.is64Bit;
        fake.files.RemoveFile("/windows/inf/dev_NT5.inf");
        fake.files.AddFile("/out/dev_NT5.inf", "inf");
        prompter = {};
        prompter.yesNoAnswers = {row.yes};
        model.device.OutputDirectory = "/out";
        model.plan.Files.Nt5Inf = "/out/dev_NT5.inf";
        model.plan.WrittenFiles = {"/out/dev_NT5.inf"};
        model.plan.Package.reset();
        if (row.package) {
            DriverPackage& package = model.plan.Package.emplace();
            package.inf = "/out/package/dev.inf";
            package.certificate = "DER";
            package.subject = "CN=Acme dev driver package";
            package.thumbprint = "0A1B";
            package.generatedCertificate = true;
        }
        Open(kPageAfterSaveAction);
        EXPECT_TRUE(Finish());
        EXPECT_EQ(fake.driverStore.installed, row.installed);
        EXPECT_EQ(fake.files.HasFile("/windows/inf/dev_NT5.inf"), row.seedInstalled);
        std::vector<RecordingPrompter::Message> said = prompter.messages;
        if (row.package) {
            ASSERT_FALSE(said.empty());
            EXPECT_EQ(said[0].icon, MessageIcon::Question);
            EXPECT_NE(said[0].text.find("Subject: CN=Acme dev driver package\r\nThumbprint: 0A1B"),
                      std::string::npos);
            said.erase(said.begin());
        }
        EXPECT_EQ(said.size(), row.messages);
        if (!row.trusted) {
            EXPECT_EQ(said.back().text, kPackageNotInstalled);
        }
    }
}

// Finish runs the action chosen and closes, installing under the wait cursor. FTP needs the
// real-time product and PXI/PCI, and turns Finish into Next.
TEST_F(ActionPages, FinishRunsTheChoiceOrFtpLeadsOn) {
    model.device.OutputDirectory = "/out";
    model.plan.Files.Nt5Inf = "/out/dev_NT5.inf";
    model.plan.WrittenFiles = {"/out/dev_NT5.inf"};  // as a generation leaves it
    model.plan.HardwareIds = {"PCI\\VEN_1A2B&DEV_0042"};
    fake.files.AddFile("/out/dev_NT5.inf", "inf");
    for (const ControlId choice : {kInstallChoice, kOpenFolderChoice, kNothingChoice}) {
        Open(kPageAfterSaveAction);
        EXPECT_FALSE(Enabled(kFtpChoice));  // no real-time product
        Check(choice);
        EXPECT_TRUE(Finish());
    }
    EXPECT_EQ(fake.shell.openedFolders, std::vector<std::string>{"/out"});
    EXPECT_TRUE(fake.files.HasFile("/windows/inf/dev_NT5.inf"));
    EXPECT_EQ(dialogs.busyJobs, 1);
    fake.registry.CreateKey("SOFTWARE\\Quorvane\\Vantorix\\5.1.2");
    for (const Bus bus : {Bus::Usb, Bus::PxiPci}) {
        model.device.BusType = bus;
        Open(kPageAfterSaveAction);
        EXPECT_EQ(Enabled(kFtpChoice), bus == Bus::PxiPci);
    }
    const std::pair<ControlId, const char*> clicks[] = {
        {kFtpChoice, "back next"}, {kOpenFolderChoice, "back finish"}, {kFtpChoice, "back next"}};
    for (const auto& [choice, buttons] : clicks) {
        Check(choice);
        EXPECT_EQ(Shown(), buttons);
    }
    Next();
    EXPECT_EQ(Page(), kPageUseFtp);
}

// FTP chosen in a PXI/PCI run, then a USB run reaches page 7: the choice is no longer offered,
// so the selection moves to the default one and Finish is back; page 8 cannot be reached.
TEST_F(ActionPages, AChoiceNoLongerOfferedGivesWayToTheDefault) {
    registryConfigured = false;  // FTP offered for PXI/PCI
    prompter.yesNoAnswers = {true, true};
    Open();
    Next();
    Next();
    Next();
    ASSERT_EQ(Page(), kPageAfterSaveAction);
    Check(kFtpChoice);
    while (Page() != kPageWelcome) {
        Back();
    }
    Check(kUsbRadio);
    Next();
    Next();
    Next();
    ASSERT_EQ(Page(), kPageAfterSaveAction);
    EXPECT_FALSE(Enabled(kFtpChoice));
    EXPECT_TRUE(View()[kInstallChoice].checked);
    EXPECT_EQ(Shown(), "back finish");
    Next();
    EXPECT_EQ(Page(), kPageAfterSaveAction);
}

// Finish needs a host name. A refused entry or a failed transfer keeps the page with what was
// typed, also across Back and Next; the paths come from the plan; success closes.
TEST_F(ActionPages, FtpFinishNeedsAHostAndClosesOnlyOnSuccess) {
    model.plan.Files.RtInf = "/out/abcdefgh/abcde_RT.inf";
    registryConfigured = false;
    Open(kPageUseFtp);
    EXPECT_EQ(Text(kLocalFileEdit), "/out/abcdefgh/abcde_RT.inf");
    EXPECT_EQ(Text(kRemoteFileEdit), "/zel-rt/system/abcde_RT.inf");
    EXPECT_EQ(Shown(), "back (finish)");
    Type(kHostNameEdit, "r");
    EXPECT_EQ(Shown(), "back finish");
    Type(kHostNameEdit, "");
    EXPECT_EQ(Shown(), "back (finish)");
    Type(kHostNameEdit, "rt-target:2121");
    Type(kPasswordEdit, "pw");
    EXPECT_FALSE(Finish());  // a password without a user name
    EXPECT_TRUE(fake.ftp.logins.empty());
    Type(kUserNameEdit, "me");
    fake.ftp.connectError = FtpError::LoginFailure;
    EXPECT_FALSE(Finish());
    fake.ftp.connectError = FtpError::None;
    fake.ftp.uploadSucceeds = false;
    EXPECT_FALSE(Finish());
    EXPECT_EQ(prompter.messages.size(), 3u);  // FtpTransferTest checks the texts
    Back();
    Check(kFtpChoice);
    Next();
    EXPECT_EQ(Shown(), "back finish");
    fake.ftp.uploadSucceeds = true;
    EXPECT_TRUE(Finish());
    EXPECT_EQ(fake.ftp.logins,
              std::vector<FakeFtpClient::Login>(3, {"rt-target", 2121, "me", "pw"}));
    EXPECT_EQ(fake.ftp.uploads.back(),
              (FakeFtpClient::Upload{"/out/abcdefgh/abcde_RT.inf", "/zel-rt/system/abcde_RT.inf"}));
    EXPECT_EQ(dialogs.busyJobs, 3);
}

}  // namespace
}  // namespace tessaly::testing
