#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "platform/FtpClient.h"

namespace tessaly {

// How long a dead or silent host may hold the wizard: the server may be silent this long, before
// the connection, its greeting and each reply, and in a transfer; a slow server that keeps
// answering may take longer, up to the total.
inline constexpr std::chrono::seconds kFtpSilenceTimeout{10};
inline constexpr std::chrono::seconds kFtpTotalTimeout{60};  // connecting and uploading together

struct CurlLibrary;

// FTP on libcurl: passive mode (EPSV, then PASV), image type, one STOR with the full path, then
// SIZE of what arrived, no proxy, nothing logged. libcurl is loaded on the first connection, not at
// start-up: mapping it and the two dozen libraries it needs costs every run some 25 ms of CPU, also
// the runs that never upload. Without it, connecting fails with FtpError::InternalError.
// Connections must be closed before the client is destroyed.
class CurlFtpClient final : public FtpClient {
public:
    struct Settings {
        std::chrono::milliseconds silence = kFtpSilenceTimeout;
        std::chrono::milliseconds total = kFtpTotalTimeout;
        std::string library = "libcurl.so.4";
    };

    CurlFtpClient();
    explicit CurlFtpClient(Settings settings);
    ~CurlFtpClient() override;
    CurlFtpClient(const CurlFtpClient&) = delete;
    CurlFtpClient& operator=(const CurlFtpClient&) = delete;

    FtpConnectResult Connect(const std::string& server, std::uint16_t port, const std::string& user,
                             const std::string& password) override;

private:
    // Null when libcurl cannot be loaded or set up.
    const CurlLibrary* Library();

    Settings settings_;
    std::once_flag loadOnce_;
    std::unique_ptr<CurlLibrary> library_;
};

}  // namespace tessaly
