#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "actions/FtpTransfer.h"
#include "system/curl/CurlFtpClient.h"
#include "tests/fakes/RecordingPrompter.h"
#include "tests/fakes/TempDir.h"

namespace tessaly::testing {
namespace {

namespace fs = std::filesystem;

// The users of the server: NAME:PASSWORD:PERMISSIONS:HOME-BELOW-THE-ROOT. "target" holds the
// real-time system folder, "bare" does not; both hold "incoming", where every user logs in.
// What "cutter" uploads keeps only its first half.
const char* const kUsers[] = {"anonymous::elradfmw:target", "engineer:s3cret:elradfmw:target",
                              "lost:pw:elradfmw:bare", "cutter:pw:elradfmw:target"};

// A socket on 127.0.0.1 and a port of the kernel's choosing; bound but not listening, it
// refuses connections.
class LoopbackSocket {
public:
    LoopbackSocket() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        auto* generic = reinterpret_cast<sockaddr*>(&address);
        EXPECT_EQ(bind(fd_, generic, size), 0);
        EXPECT_EQ(getsockname(fd_, generic, &size), 0);
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackSocket() { close(fd_); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    void Listen() { EXPECT_EQ(listen(fd_, 4), 0); }
    int port() const { return port_; }

private:
    int fd_;
    int port_ = 0;
};

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "(none)";
}

// One run of tests/actions/ftp_server.py over the users' folders below `root`, on 127.0.0.1 and a
// free port, with the server's `options`. It ends when its standard input, this program's pipe,
// closes.
class ServerProcess {
public:
    ServerProcess(const fs::path& root, const std::string& options) {
        const fs::path portFile = root / ("port" + std::to_string(++started_));
        std::string command = "exec /usr/bin/python3 '" TESSALY_FTP_SERVER_SCRIPT "' " + options;
        for (const std::string user : kUsers) {
            const auto home = user.rfind(':') + 1;
            command += " '" + user.substr(0, home) + (root / user.substr(home)).string() + "'";
        }
        input_ = ::popen((command + " >'" + portFile.string() + "'").c_str(), "w");
        EXPECT_NE(input_, nullptr);
        // The port line comes once the server listens; Python starts slowly on a busy machine.
        for (int i = 0; i < 300 && Contents(portFile).find('\n') == std::string::npos; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        port_ = std::atoi(Contents(portFile).c_str());
        EXPECT_GT(port_, 0) << "the FTP server did not start (is python3-pyftpdlib installed?)";
    }
    ~ServerProcess() {
        if (input_) {
            ::pclose(input_);
        }
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }

private:
    static inline int started_ = 0;
    FILE* input_ = nullptr;
    int port_ = 0;
};

// The server most tests use, started once for the whole program.
class FtpServer final : public ::testing::Environment {
public:
    static inline FtpServer* instance = nullptr;

    void SetUp() override {
        instance = this;
        fs::create_directories(root_.path() / "target" / "zel-rt" / "system");
        fs::create_directories(root_.path() / "target" / "incoming");
        fs::create_directories(root_.path() / "bare" / "incoming");
        process_ = std::make_unique<ServerProcess>(root_.path(), "--cut-uploads=cutter");
        ASSERT_GT(process_->port(), 0);
    }

    void TearDown() override {
        process_.reset();
        instance = nullptr;
    }

    int port() const { return process_->port(); }
    // Where a user's "/zel-rt/system/NAME" is on disk.
    fs::path SystemFile(const std::string& name) const {
        return root_.path() / "target" / "zel-rt" / "system" / name;
    }
    const fs::path& root() const { return root_.path(); }

private:
    TempDir root_;
    std::unique_ptr<ServerProcess> process_;
};

[[maybe_unused]] auto* const kServer = ::testing::AddGlobalTestEnvironment(new FtpServer);

RunAndWait RunHere() {
    return [](const std::function<void()>& job) { job(); };
}

const std::string kOk = "Successfully copied .INF file over FTP to ";
const std::string kLogin = "FTP error: Login failure. Check username and password.";
const std::string kConnection = "FTP error: Connection failed. Make sure the host name is valid.";
const std::string kCopy = "FTP error: Could not copy file.";

// Every row goes through Finish's logic and the libcurl client to the one server, and is checked
// on the server's disk: the file arrives byte for byte (CR LF, NUL and bytes of 0x80 and above
// included), replacing what was there, or the server's copy stays as it was.
TEST(FtpServerTest, UploadsArriveUnchangedAndEveryFailureHasItsMessage) {
    const FtpServer& server = *FtpServer::instance;
    const std::string local = "127.0.0.1:" + std::to_string(server.port());
    const LoopbackSocket closed;
    using namespace std::string_literals;
    const std::string content = "[Version]\r\nSignature=\"$Chicago$\"\r\n\x80\xA9\xFF\0\r\n\n\r"s;
    const std::string before = "an older, longer file that the upload replaces\r\n";
    // The host, user, password, the local file's name (and the remote one's), the message.
    const std::string rows[][5] = {
        {local, "", "", "x#1&2+%E9_RT.inf", kOk + local},
        {"localhost:" + std::to_string(server.port()), "engineer", "s3cret", "user_RT.inf",
         kOk + "localhost:" + std::to_string(server.port())},
        {local, "engineer", "S3CRET", "wrong_RT.inf", kLogin},
        {"127.0.0.1:" + std::to_string(closed.port()), "", "", "closed_RT.inf", kConnection},
        {local, "lost", "pw", "lost_RT.inf", kCopy},  // no system folder, and none is made
        {local, "", "", "missing_RT.inf", kCopy},
    };
    TempDir folder;
    CurlFtpClient client;
    for (const auto& [host, user, password, name, message] : rows) {
        SCOPED_TRACE(host + " " + user + " " + name);
        const std::string localPath = (folder.path() / name).string();
        if (name != "missing_RT.inf") {
            folder.Write(name, content);
        }
        std::ofstream(server.SystemFile(name), std::ios::binary) << before;
        RecordingPrompter prompter;
        const bool copied =
            FinishFtpCopy(client, {host, user, password}, localPath,
                          RemoteRealTimeInfPath(localPath, '/'), prompter, RunHere());
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>{message});
        EXPECT_EQ(copied, message.starts_with(kOk));
        EXPECT_EQ(Contents(server.SystemFile(name)), copied ? content : before);
    }
    EXPECT_FALSE(fs::exists(server.root() / "bare" / "zel-rt"));
    // An IPv6 address reaches the connection attempt (nothing listens there) as an address.
    EXPECT_EQ(client.Connect("::1", static_cast<std::uint16_t>(closed.port()), "", "").error,
              FtpError::CannotConnect);
}

// A host that takes the connection but never greets holds the wizard only as long as it may be
// silent. The overall limit lies beyond the test program's own time-out, so a client that
// ignored the silence would fail the run by hanging.
TEST(FtpServerTest, SilentServerIsGivenUpAfterTheConnectTimeout) {
    LoopbackSocket silent;
    silent.Listen();
    CurlFtpClient client({.silence = std::chrono::seconds(1), .total = std::chrono::minutes(10)});
    const FtpConnectResult result =
        client.Connect("127.0.0.1", static_cast<std::uint16_t>(silent.port()), "", "");
    EXPECT_EQ(result.connection, nullptr);
    EXPECT_EQ(result.error, FtpError::Timeout);
}

// A slow server that keeps answering is waited for, however many replies the login takes; one
// silent for longer than allowed is given up; one that stores less than it was sent, though it
// answers that the upload is complete, has not got the file.
TEST(FtpServerTest, SlowServersAreWaitedForAndCutUploadsFail) {
    const FtpServer& server = *FtpServer::instance;
    // Greeting, USER, PASS and PWD take 1.6 s together, each reply 0.4 s.
    const ServerProcess slow(server.root(), "--reply-delay=0.4");
    using namespace std::chrono_literals;
    const std::string content(1000, 'c');
    const std::string before = "before";
    const struct {
        const char* what;
        int port;
        std::chrono::milliseconds silence;
        std::string user, name, message, stored;
    } rows[] = {
        {"slow replies", slow.port(), 1000ms, "", "slow_RT.inf", kOk, content},
        {"a reply later than allowed", slow.port(), 200ms, "", "late_RT.inf", kConnection, before},
        {"half of the file stored", server.port(), 10000ms, "cutter", "cut_RT.inf", kCopy,
         content.substr(0, content.size() / 2)},
    };
    TempDir folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string host = "127.0.0.1:" + std::to_string(row.port);
        const std::string localPath = folder.Write(row.name, content);
        std::ofstream(server.SystemFile(row.name), std::ios::binary) << before;
        CurlFtpClient client({.silence = row.silence});
        RecordingPrompter prompter;
        const bool copied =
            FinishFtpCopy(client, {host, row.user, row.user.empty() ? "" : "pw"}, localPath,
                          RemoteRealTimeInfPath(localPath, '/'), prompter, RunHere());
        EXPECT_EQ(prompter.Texts(),
                  std::vector<std::string>{row.message + (row.message == kOk ? host : "")});
        EXPECT_EQ(copied, row.message == kOk);
        EXPECT_EQ(Contents(server.SystemFile(row.name)), row.stored);
    }
}

// libcurl is loaded on the first connection; without it only the copy fails, as a connection.
TEST(FtpServerTest, WithoutLibcurlConnectingFails) {
    CurlFtpClient client({.library = "libcurl-not-installed.so.4"});
    const auto port = static_cast<std::uint16_t>(FtpServer::instance->port());
    EXPECT_EQ(client.Connect("127.0.0.1", port, "", "").error, FtpError::InternalError);
}

}  // namespace
}  // namespace tessaly::testing
