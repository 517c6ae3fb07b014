#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FtpClient.h"
#include "platform/Prompter.h"

namespace tessaly {

// The folder of the real-time target that receives the real-time INF.
inline constexpr std::string_view kRealTimeSystemFolder = "/zel-rt/system/";

// Where the host name field points: a host name or IPv4 address, or an IPv6 address (bare, or in
// brackets to be followed by a port), optionally followed by ":port".
struct FtpServerAddress {
    std::string server;  // an IPv6 address without its brackets
    std::uint16_t port = kDefaultFtpPort;

    friend bool operator==(const FtpServerAddress&, const FtpServerAddress&) = default;
};

// Nullopt for text that names no server: empty, a character no host name holds, a port outside
// 1 to 65535, unbalanced brackets.
std::optional<FtpServerAddress> ParseFtpHost(std::string_view text);

// "/zel-rt/system/" followed by the name of the local file (after its last separator).
std::string RemoteRealTimeInfPath(const std::string& localPath, char separator);

// The FTP page's entries, exactly as typed. The password is wiped when the value ends.
struct FtpLogin {
    std::string host;
    std::string user;
    std::string password;

    ~FtpLogin();
};

// Overwrites a secret's bytes before its memory is given back.
void WipeSecret(std::string& secret);

enum class FtpOutcome { Copied, LoginFailed, ConnectionFailed, CopyFailed };

// Connects, logs in and uploads the local file, replacing the remote one. Shows nothing, so it
// may run on a worker thread; it touches only its arguments and the client.
FtpOutcome CopyFileOverFtp(FtpClient& client, const FtpLogin& login, const std::string& localPath,
                           const std::string& remotePath);

// Runs a job and returns once it has ended; the GUI keeps its window painting meanwhile.
using RunAndWait = std::function<void(const std::function<void()>& job)>;

// Finish on the FTP page: refuses a password without a user name, runs the copy through `wait`
// and tells the user how it went. True when the file was copied and the wizard may close.
bool FinishFtpCopy(FtpClient& client, const FtpLogin& login, const std::string& localPath,
                   const std::string& remotePath, Prompter& prompter, const RunAndWait& wait);

}  // namespace tessaly
