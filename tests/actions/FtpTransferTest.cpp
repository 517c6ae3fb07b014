#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "actions/FtpTransfer.h"
#include "tests/fakes/FakeFtpClient.h"
#include "tests/fakes/RecordingPrompter.h"

namespace tessaly {
namespace {

using testing::FakeFtpClient;
using testing::RecordingPrompter;

TEST(FtpHostTest, NamesAddressesAndPortsAreReadAndAnythingElseRefused) {
    const std::pair<const char*, std::optional<FtpServerAddress>> cases[] = {
        {"rt-target", FtpServerAddress{"rt-target", 21}},
        {"rt_target.lab.example:2121", FtpServerAddress{"rt_target.lab.example", 2121}},
        {"192.168.1.20:65535", FtpServerAddress{"192.168.1.20", 65535}},
        {"[fe80::1%eth0]:1", FtpServerAddress{"fe80::1%eth0", 1}},
        {"[::ffff:10.0.0.1]:021", FtpServerAddress{"::ffff:10.0.0.1", 21}},
        {"fe80::2", FtpServerAddress{"fe80::2", 21}},  // bare: no port can follow
        {"", std::nullopt},
        {":21", std::nullopt},
        {"host:", std::nullopt},
        {"host:0", std::nullopt},
        {"host:65536", std::nullopt},
        {"host:+21", std::nullopt},
        {"user@host", std::nullopt},
        {"[::1", std::nullopt},
        {"[::1]x", std::nullopt},
        {"[rt-target]", std::nullopt},
        {"[fe80::1%]", std::nullopt},
        {"fe80::1:21x", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseFtpHost(text), expected) << text;
    }
}

TEST(FtpHostTest, RemotePathIsTheSystemFolderAndTheLocalName) {
    EXPECT_EQ(RemoteRealTimeInfPath("/out/abcdefgh/abcde_RT.inf", '/'),
              "/zel-rt/system/abcde_RT.inf");
    EXPECT_EQ(RemoteRealTimeInfPath("c:\\vxipnp\\winnt\\abc\\abc_RT.inf", '\\'),
              "/zel-rt/system/abc_RT.inf");
    EXPECT_EQ(RemoteRealTimeInfPath("_RT.inf", '/'), "/zel-rt/system/_RT.inf");
}

// Finish with a scripted client: what is refused before connecting, what the client is given
// ("user:password@server:port"), the upload, and the message each outcome shows. The transfer
// runs through the waiting step.
TEST(FtpTransferTest, FinishChecksConnectsUploadsAndReportsEachOutcome) {
    const std::string ok = "Successfully copied .INF file over FTP to ";
    const std::string login = "FTP error: Login failure. Check username and password.";
    const std::string connection =
        "FTP error: Connection failed. Make sure the host name is valid.";
    const std::string copy = "FTP error: Could not copy file.";
    const std::string noUser = "Please enter a username.";
    const std::tuple<FtpLogin, FtpError, bool, std::string, std::string> cases[] = {
        {{"rt", "", ""}, FtpError::None, true, ":@rt:21", ok + "rt"},
        {{"[::1]:2121", "me", ""}, FtpError::None, true, "me:@::1:2121", ok + "[::1]:2121"},
        {{"rt", "", "secret"}, FtpError::None, true, "", noUser},
        {{"rt", "me", "bad"}, FtpError::LoginFailure, true, "me:bad@rt:21", login},
        {{"rt", "", ""}, FtpError::Timeout, true, ":@rt:21", connection},
        {{"rt:http", "", ""}, FtpError::None, true, "", connection},
        {{"rt", "me", "pw"}, FtpError::None, false, "me:pw@rt:21", copy},
    };
    for (const auto& [entries, error, uploadSucceeds, reached, message] : cases) {
        SCOPED_TRACE(message + " / " + entries.host);
        FakeFtpClient client;
        client.connectError = error;
        client.uploadSucceeds = uploadSucceeds;
        RecordingPrompter prompter;
        int waits = 0;
        const bool copied = FinishFtpCopy(client, entries, "/o/a_RT.inf", "/zel-rt/system/a_RT.inf",
                                          prompter, [&waits](const std::function<void()>& job) {
                                              ++waits;
                                              job();
                                          });
        EXPECT_EQ(copied, message.starts_with(ok));
        std::ostringstream logins;
        for (const auto& l : client.logins) {
            logins << l.user << ":" << l.password << "@" << l.server << ":" << l.port;
        }
        EXPECT_EQ(logins.str(), reached);
        EXPECT_EQ(waits, message == noUser ? 0 : 1);
        const bool uploaded = !reached.empty() && error == FtpError::None;
        EXPECT_EQ(client.uploads, std::vector<FakeFtpClient::Upload>(
                                      uploaded, {"/o/a_RT.inf", "/zel-rt/system/a_RT.inf"}));
        const MessageIcon icon = copied              ? MessageIcon::None
                                 : message == noUser ? MessageIcon::Stop
                                                     : MessageIcon::Exclamation;
        EXPECT_EQ(prompter.messages, (std::vector<RecordingPrompter::Message>{{message, icon}}));
    }
}

}  // namespace
}  // namespace tessaly
