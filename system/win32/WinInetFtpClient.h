#pragma once

#include <chrono>

#include "platform/FtpClient.h"

namespace tessaly {

// FTP through WinInet: passive mode, binary transfers, no cache, no proxy; the connection
// errors are WinInet's own numbers. Timeouts as the libcurl client's: a dead host must not hold
// the wizard.
class WinInetFtpClient final : public FtpClient {
public:
    explicit WinInetFtpClient(std::chrono::milliseconds timeout = std::chrono::seconds{10})
        : timeout_(timeout) {}

    FtpConnectResult Connect(const std::string& server, std::uint16_t port, const std::string& user,
                             const std::string& password) override;

private:
    std::chrono::milliseconds timeout_;
};

}  // namespace tessaly
