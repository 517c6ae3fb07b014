#include "actions/FtpTransfer.h"

#include <algorithm>
#include <charconv>

namespace tessaly {

namespace {

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHostNameChar(char c) {
    return IsAsciiAlnum(c) || c == '-' || c == '.' || c == '_';
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Hex groups, colons and an embedded IPv4 part, optionally followed by "%zone" (the interface a
// link-local address is reached through).
bool IsIpv6Address(std::string_view text) {
    const std::size_t percent = text.find('%');
    const std::string_view address = text.substr(0, percent);
    if (address.find(':') == std::string_view::npos ||
        !std::all_of(address.begin(), address.end(),
                     [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; })) {
        return false;
    }
    if (percent == std::string_view::npos) {
        return true;
    }
    const std::string_view zone = text.substr(percent + 1);
    return !zone.empty() && std::all_of(zone.begin(), zone.end(), IsHostNameChar);
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::optional<FtpServerAddress> WithPort(std::string_view server, std::string_view portText) {
    if (portText.empty()) {
        return FtpServerAddress{std::string(server), kDefaultFtpPort};
    }
    if (portText.front() != ':') {
        return std::nullopt;
    }
    if (const auto port = ParsePort(portText.substr(1))) {
        return FtpServerAddress{std::string(server), *port};
    }
    return std::nullopt;
}

}  // namespace

std::optional<FtpServerAddress> ParseFtpHost(std::string_view text) {
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || !IsIpv6Address(text.substr(1, close - 1))) {
            return std::nullopt;
        }
        return WithPort(text.substr(1, close - 1), text.substr(close + 1));
    }
    if (std::count(text.begin(), text.end(), ':') > 1) {
        // A bare IPv6 address: its colons leave no room for a port.
        return IsIpv6Address(text)
                   ? std::optional(FtpServerAddress{std::string(text), kDefaultFtpPort})
                   : std::nullopt;
    }
    const std::size_t colon = std::min(text.find(':'), text.size());
    const std::string_view name = text.substr(0, colon);
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsHostNameChar)) {
        return std::nullopt;
    }
    return WithPort(name, text.substr(colon));
}

std::string RemoteRealTimeInfPath(const std::string& localPath, char separator) {
    const std::size_t pos = localPath.rfind(separator);
    return std::string(kRealTimeSystemFolder) +
           (pos == std::string::npos ? localPath : localPath.substr(pos + 1));
}

void WipeSecret(std::string& secret) {
    // Growing to the capacity zeroes what an earlier, longer value may have left behind.
    secret.resize(secret.capacity());
    volatile char* bytes = secret.data();
    for (std::size_t i = 0; i < secret.size(); ++i) {
        bytes[i] = '\0';
    }
    secret.clear();
}

FtpLogin::~FtpLogin() {
    WipeSecret(password);
}

FtpOutcome CopyFileOverFtp(FtpClient& client, const FtpLogin& login, const std::string& localPath,
                           const std::string& remotePath) {
    const std::optional<FtpServerAddress> address = ParseFtpHost(login.host);
    if (!address) {
        return FtpOutcome::ConnectionFailed;
    }
    const FtpConnectResult connected =
        client.Connect(address->server, address->port, login.user, login.password);
    if (!connected.connection) {
        return connected.error == FtpError::LoginFailure ? FtpOutcome::LoginFailed
                                                         : FtpOutcome::ConnectionFailed;
    }
    return connected.connection->PutFile(localPath, remotePath) ? FtpOutcome::Copied
                                                                : FtpOutcome::CopyFailed;
}

bool FinishFtpCopy(FtpClient& client, const FtpLogin& login, const std::string& localPath,
                   const std::string& remotePath, Prompter& prompter, const RunAndWait& wait) {
    if (login.user.empty() && !login.password.empty()) {
        prompter.ShowMessage("Please enter a username.", MessageIcon::Stop);
        return false;
    }
    FtpOutcome outcome = FtpOutcome::ConnectionFailed;
    wait([&] { outcome = CopyFileOverFtp(client, login, localPath, remotePath); });
    switch (outcome) {
        case FtpOutcome::Copied:
            prompter.ShowMessage("Successfully copied .INF file over FTP to " + login.host,
                                 MessageIcon::None);
            return true;
        case FtpOutcome::LoginFailed:
            prompter.ShowMessage("FTP error: Login failure. Check username and password.",
                                 MessageIcon::Exclamation);
            break;
        case FtpOutcome::ConnectionFailed:
            prompter.ShowMessage("FTP error: Connection failed. Make sure the host name is valid.",
                                 MessageIcon::Exclamation);
            break;
        case FtpOutcome::CopyFailed:
            prompter.ShowMessage("FTP error: Could not copy file.", MessageIcon::Exclamation);
            break;
    }
    return false;
}

}  // namespace tessaly
