#include "system/win32/WinInetFtpClient.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

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
        WIN32_FILE_ATTRIBUTE_DATA local;
        if (!::GetFileAttributesExA(localPath.c_str(), GetFileExInfoStandard, &local) ||
            !::FtpPutFileA(connection_.get(), localPath.c_str(), remotePath.c_str(),
                           FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0)) {
            return false;
        }
        // A server may take the upload and store less (a full disk it does not report): where it
        // tells the size of what arrived, that size must be the file's.
        const std::optional<ULONGLONG> stored = RemoteSize(remotePath);
        return !stored ||
               *stored == (static_cast<ULONGLONG>(local.nFileSizeHigh) << 32 | local.nFileSizeLow);
    }

private:
    // The size the server reports for the file ("213 <size>" to SIZE), or nothing when it
    // reports none.
    std::optional<ULONGLONG> RemoteSize(const std::string& remotePath) {
        if (!::FtpCommandA(connection_.get(), FALSE, FTP_TRANSFER_TYPE_BINARY,
                           ("SIZE " + remotePath).c_str(), 0, nullptr)) {
            return std::nullopt;
        }
        char reply[512] = {};
        DWORD error = 0;
        DWORD length = sizeof reply - 1;
        if (!::InternetGetLastResponseInfoA(&error, reply, &length)) {
            return std::nullopt;
        }
        // The last line is the reply to SIZE; earlier ones may be left from the upload.
        std::string_view text(reply, std::min<DWORD>(length, sizeof reply - 1));
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
            text.remove_suffix(1);
        }
        text = text.substr(
            text.find_last_of('\n') == std::string_view::npos ? 0 : text.find_last_of('\n') + 1);
        if (!text.starts_with("213 ") || text.size() == 4 || text.size() > 24) {
            return std::nullopt;
        }
        ULONGLONG size = 0;
        for (const char c : text.substr(4)) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            size = size * 10 + static_cast<ULONGLONG>(c - '0');
        }
        return size;
    }

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
