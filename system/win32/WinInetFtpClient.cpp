#include "system/win32/WinInetFtpClient.h"

#include <memory>

#include "system/win32/WindowsApi.h"
// After windows.h, which it needs.
#include <wininet.h>

namespace tessaly {
namespace {

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const { ::InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

FtpError ErrorFromWinInet(DWORD code) {
    switch (code) {
        case ERROR_INTERNET_TIMEOUT:
        case ERROR_INTERNET_NAME_NOT_RESOLVED:
        case ERROR_INTERNET_LOGIN_FAILURE:
        case ERROR_INTERNET_CANNOT_CONNECT:
        case ERROR_INTERNET_EXTENDED_ERROR:
            return static_cast<FtpError>(code);
        default:
            return FtpError::InternalError;
    }
}

class WinInetFtpConnection final : public FtpConnection {
public:
    WinInetFtpConnection(InternetHandle session, InternetHandle connection)
        : session_(std::move(session)), connection_(std::move(connection)) {}

    bool PutFile(const std::string& localPath, const std::string& remotePath) override {
        return ::FtpPutFileA(connection_.get(), localPath.c_str(), remotePath.c_str(),
                             FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0);
    }

private:
    InternetHandle session_;  // closed after the connection
    InternetHandle connection_;
};

}  // namespace

FtpConnectResult WinInetFtpClient::Connect(const std::string& server, std::uint16_t port,
                                           const std::string& user, const std::string& password) {
    InternetHandle session(
        ::InternetOpenA("Tessaly Wizard", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) {
        return {nullptr, ErrorFromWinInet(::GetLastError())};
    }
    DWORD timeout = static_cast<DWORD>(timeout_.count());
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_SEND_TIMEOUT}) {
        ::InternetSetOptionA(session.get(), option, &timeout, sizeof timeout);
    }
    // An empty user name is WinInet's anonymous login.
    InternetHandle connection(::InternetConnectA(
        session.get(), server.c_str(), port, user.empty() ? nullptr : user.c_str(),
        user.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0));
    if (!connection) {
        return {nullptr, ErrorFromWinInet(::GetLastError())};
    }
    return {std::make_unique<WinInetFtpConnection>(std::move(session), std::move(connection)),
            FtpError::None};
}

}  // namespace tessaly
