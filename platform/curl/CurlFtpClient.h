#pragma once

#include <chrono>
#include <mutex>

#include "platform/FtpClient.h"

namespace tessaly {

// How long a dead or silent host may hold the wizard.
inline constexpr std::chrono::seconds kFtpConnectTimeout{10};  // name, TCP connect and login
inline constexpr std::chrono::seconds kFtpTotalTimeout{60};    // connecting and uploading together

// FTP on libcurl: passive mode (EPSV, then PASV), image type, one STOR with the full path, no
// proxy, nothing logged. Connections must be closed before the client is destroyed.
class CurlFtpClient final : public FtpClient {
public:
    struct Timeouts {
        // Also the longest wait for any one reply of the server, rounded up to whole seconds.
        std::chrono::milliseconds connect = kFtpConnectTimeout;
        std::chrono::milliseconds total = kFtpTotalTimeout;
    };

    CurlFtpClient();
    explicit CurlFtpClient(Timeouts timeouts);
    ~CurlFtpClient() override;
    CurlFtpClient(const CurlFtpClient&) = delete;
    CurlFtpClient& operator=(const CurlFtpClient&) = delete;

    FtpConnectResult Connect(const std::string& server, std::uint16_t port, const std::string& user,
                             const std::string& password) override;

private:
    bool EnsureLibraryReady();

    Timeouts timeouts_;
    std::once_flag initOnce_;
    bool initialised_ = false;  // libcurl's global state, set up on the first connection
};

}  // namespace tessaly
