#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/PackageInstaller.h"
#include "platform/DriverStore.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakeDriverStore;
using testing::FakeFileSystem;
using testing::FakeSystemInfo;
using testing::RecordingPrompter;

DriverPackage Package(bool generated) {
    DriverPackage package;
    package.inf = "c:\\out\\package\\demo.inf";
    package.catalog = "c:\\out\\package\\demo.cat";
    package.certificate = "DER";
    package.subject = "CN=Acme demo driver package";
    package.thumbprint = "0123456789ABCDEF0123456789ABCDEF01234567";
    package.generatedCertificate = generated;
    return package;
}

TEST(PackageInstallerTest, TrustsAGeneratedCertificateOnlyWithConsent) {
    struct Case {
        const char* name;
        TrustConsent consent;
        bool answer;
        bool trustSucceeds;
        MessageIcon shown;  // the icon of the one message, Question for a question
        bool trusted;
        bool installed;
    };
    const Case kCases[] = {
        {"asked, yes", TrustConsent::Ask, true, true, MessageIcon::Question, true, true},
        {"asked, no", TrustConsent::Ask, false, true, MessageIcon::Question, false, false},
        {"a script is told", TrustConsent::Tell, false, true, MessageIcon::None, true, true},
        {"the stores refuse", TrustConsent::Tell, false, false, MessageIcon::Stop, true, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        FakeDriverStore store;
        store.trustSucceeds = c.trustSucceeds;
        RecordingPrompter prompter;
        prompter.yesNoAnswers = {c.answer};
        EXPECT_EQ(InstallDriverPackage(Package(true), store, prompter, c.consent), c.installed);
        EXPECT_EQ(store.trusted,
                  c.trusted ? std::vector<std::string>{"DER"} : std::vector<std::string>{});
        EXPECT_EQ(store.installed.size(), c.installed ? 1u : 0u);
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_EQ(prompter.messages.back().icon, c.shown);
        // Whoever decides is shown what is trusted.
        EXPECT_NE(prompter.messages[0].text.find("Subject: CN=Acme demo driver package\r\n"
                                                 "Thumbprint: 0123456789ABCDEF0123456789ABCDEF"
                                                 "01234567"),
                  std::string::npos);
    }
}

TEST(PackageInstallerTest, InstallsWithoutTrustingWhenNothingIsToBeTrusted) {
    // The user's own certificate is theirs to trust; without certificate stores there is none.
    for (const auto& [generated, stores] : {std::pair{false, true}, std::pair{true, false}}) {
        FakeDriverStore store;
        store.certificateStores = stores;
        RecordingPrompter prompter;
        EXPECT_TRUE(InstallDriverPackage(Package(generated), store, prompter, TrustConsent::Ask));
        EXPECT_TRUE(store.trusted.empty());
        EXPECT_EQ(store.installed, std::vector<std::string>{"c:\\out\\package\\demo.inf"});
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST(PackageInstallerTest, WarnsThatSixtyFourBitWindowsIgnoresTheSeedInf) {
    for (const bool is64Bit : {true, false}) {
        FakeDriverStore store;
        store.is64Bit = is64Bit;
        RecordingPrompter prompter;
        WarnIfSeedInfIsIgnored(store, prompter);
        ASSERT_EQ(prompter.messages.size(), is64Bit ? 1u : 0u);
        if (is64Bit) {
            EXPECT_EQ(prompter.messages[0].icon, MessageIcon::None);
            EXPECT_EQ(prompter.messages[0].text.rfind("warning: 64-bit Windows does not use", 0),
                      0u);
        }
    }
}

TEST(PackageInstallerTest, StagesTheInfAndCatalogInTheInfFolder) {
    const std::string inf = "c:\\out\\package\\demo.inf";
    const std::string cat = "c:\\out\\package\\demo.cat";
    {
        FakeFileSystem files;
        FakeSystemInfo system;
        files.AddFile(inf, "inf");
        files.AddFile(cat, "cat");
        files.AddFile("c:\\windows\\inf\\demo.pnf", "stale");
        EXPECT_TRUE(StagePackageInInfFolder(inf, cat, files, system));
        EXPECT_EQ(files.Contents("c:\\windows\\inf\\demo.inf"), "inf");
        EXPECT_EQ(files.Contents("c:\\windows\\inf\\demo.cat"), "cat");
        EXPECT_FALSE(files.HasFile("c:\\windows\\inf\\demo.pnf"));
    }
    {
        // No catalog there, no INF: Windows would refuse the INF alone.
        FakeFileSystem files;
        FakeSystemInfo system;
        files.AddFile(inf, "inf");
        files.AddDirectory("c:\\windows\\inf");
        EXPECT_FALSE(StagePackageInInfFolder(inf, cat, files, system));
        EXPECT_FALSE(files.HasFile("c:\\windows\\inf\\demo.inf"));
    }
    {
        FakeFileSystem files;
        FakeSystemInfo system;
        system.windowsDirectory.reset();
        EXPECT_FALSE(StagePackageInInfFolder(inf, cat, files, system));
    }
}

}  // namespace
}  // namespace tessaly
