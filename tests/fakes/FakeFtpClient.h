#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/FtpClient.h"

namespace tessaly::testing {

// Records connections and uploads and answers as scripted; nothing leaves the process.
class FakeFtpClient final : public FtpClient {
public:
    struct Login {
        std::string server;
        std::uint16_t port;
        std::string user;
        std::string password;
        bool operator==(const Login&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Login& l) {
            return out << l.user << ":" << l.password << "@" << l.server << ":" << l.port;
        }
    };
    struct Upload {
        std::string localPath;
        std::string remotePath;
        bool operator==(const Upload&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Upload& u) {
            return out << u.localPath << " > " << u.remotePath;
        }
    };

    std::vector<Login> logins;
    std::vector<Upload> uploads;
    FtpError connectError = FtpError::None;
    bool uploadSucceeds = true;
    // Runs inside Connect, on the thread that connects.
    std::function<void()> whileConnecting;

    FtpConnectResult Connect(const std::string& server, std::uint16_t port, const std::string& user,
                             const std::string& password) override {
        logins.push_back({server, port, user, password});
        if (whileConnecting) {
            whileConnecting();
        }
        if (connectError != FtpError::None) {
            return {nullptr, connectError};
        }
        return {std::make_unique<Connection>(*this), FtpError::None};
    }

private:
    class Connection final : public FtpConnection {
    public:
        explicit Connection(FakeFtpClient& client) : client_(client) {}
        bool PutFile(const std::string& localPath, const std::string& remotePath) override {
            client_.uploads.push_back({localPath, remotePath});
            return client_.uploadSucceeds;
        }

    private:
        FakeFtpClient& client_;
    };
};

}  // namespace tessaly::testing
