#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tessaly {

// INTERNET_DEFAULT_FTP_PORT.
inline constexpr std::uint16_t kDefaultFtpPort = 21;

// Why a connection failed, numbered as the WinInet errors the core was written against.
enum class FtpError : unsigned {
    None = 0,
    Timeout = 12002,          // ERROR_INTERNET_TIMEOUT
    ServerError = 12003,      // ERROR_INTERNET_EXTENDED_ERROR: the server answered unexpectedly
    InternalError = 12004,    // ERROR_INTERNET_INTERNAL_ERROR
    NameNotResolved = 12007,  // ERROR_INTERNET_NAME_NOT_RESOLVED
    LoginFailure = 12015,     // ERROR_INTERNET_LOGIN_FAILURE: user name or password refused
    CannotConnect = 12029,    // ERROR_INTERNET_CANNOT_CONNECT
};

// A logged-in FTP connection, closed when destroyed.
class FtpConnection {
public:
    virtual ~FtpConnection() = default;

    // Uploads the local file to `remotePath` in image mode, byte for byte, replacing a remote file
    // of that name. A path starting with "/" is absolute on the server, any other is relative to
    // the login folder. False when the local file cannot be read or the server refuses or breaks
    // off the upload.
    virtual bool PutFile(const std::string& localPath, const std::string& remotePath) = 0;
};

struct FtpConnectResult {
    std::unique_ptr<FtpConnection> connection;  // null when the connection failed
    FtpError error = FtpError::None;
};

// Opens passive-mode FTP connections, as WinInet's InternetConnect does. Connect may be called
// from a worker thread; one connection is used by one thread at a time.
class FtpClient {
public:
    virtual ~FtpClient() = default;

    // Connects to `server` (a host name, an IPv4 address or an IPv6 address without brackets)
    // and logs in with `user` and `password` exactly as given. An empty user logs in
    // anonymously. The password is not kept once the connection is closed.
    virtual FtpConnectResult Connect(const std::string& server, std::uint16_t port,
                                     const std::string& user, const std::string& password) = 0;
};

}  // namespace tessaly
