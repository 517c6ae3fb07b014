#include "platform/curl/CurlFtpClient.h"

#include <curl/curl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

namespace tessaly {

namespace {

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

// One transfer handle and the multi handle whose connection cache keeps the logged-in control
// connection between transfers. Destroying it closes the connection (QUIT).
struct Session {
    MultiHandle multi{curl_multi_init()};
    CurlHandle curl{curl_easy_init()};
};

// The longest the transfer loop sleeps between two looks at libcurl's state. libcurl 7.88 can
// leave a reused FTP connection with nothing to wait on after EPSV, and its own transfer loop
// then sleeps a whole second.
constexpr int kPollStepMs = 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

using Clock = std::chrono::steady_clock;

// A server name goes into a URL: only what a host name or an IP address holds may.
bool IsPlainServerName(const std::string& server) {
    return !server.empty() && std::all_of(server.begin(), server.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u < 0x80 && std::isalnum(u)) || c == '.' || c == '-' || c == '_' || c == ':' ||
               c == '%';
    });
}

// "ftp://host:port"; an IPv6 address goes in brackets, its zone's "%" escaped.
std::string ServerUrl(const std::string& server, std::uint16_t port) {
    std::string host;
    if (server.find(':') == std::string::npos) {
        host = server;
    } else {
        host = "[";
        for (const char c : server) {
            host += c == '%' ? std::string("%25") : std::string(1, c);
        }
        host += "]";
    }
    return "ftp://" + host + ":" + std::to_string(port);
}

// The URL path of a server path, every byte but the unreserved ones percent-encoded. A URL's
// path is relative to the login folder unless it starts with an encoded slash.
std::string UrlPath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "/";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto u = static_cast<unsigned char>(path[i]);
        if ((u < 0x80 && std::isalnum(u)) || u == '-' || u == '.' || u == '_' || u == '~' ||
            (u == '/' && i > 0)) {
            url += path[i];
        } else {
            url += '%';
            url += kHex[u >> 4];
            url += kHex[u & 0x0F];
        }
    }
    return url;
}

long Milliseconds(Clock::duration duration) {
    return static_cast<long>(std::max<long long>(
        1, std::chrono::duration_cast<std::chrono::milliseconds>(duration).count()));
}

std::size_t ReadFromFile(char* buffer, std::size_t size, std::size_t count, void* file) {
    auto* stream = static_cast<std::FILE*>(file);
    const std::size_t read = std::fread(buffer, 1, size * count, stream);
    return read == 0 && std::ferror(stream) ? CURL_READFUNC_ABORT : read;
}

FtpError ConnectError(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return FtpError::None;
        case CURLE_LOGIN_DENIED:
            return FtpError::LoginFailure;
        case CURLE_COULDNT_RESOLVE_HOST:
            return FtpError::NameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return FtpError::CannotConnect;
        case CURLE_OPERATION_TIMEDOUT:
            return FtpError::Timeout;
        case CURLE_FAILED_INIT:
        case CURLE_OUT_OF_MEMORY:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
        case CURLE_UNKNOWN_OPTION:
            return FtpError::InternalError;
        default:
            return FtpError::ServerError;
    }
}

// Runs the transfer set up on the session, as curl_easy_perform does.
CURLcode Perform(Session& session) {
    CURLM* multi = session.multi.get();
    CURL* curl = session.curl.get();
    if (curl_multi_add_handle(multi, curl) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    CURLcode result = CURLE_FAILED_INIT;
    int running = 1;
    while (running > 0 && curl_multi_perform(multi, &running) == CURLM_OK) {
        if (running > 0) {
            curl_multi_poll(multi, nullptr, 0, kPollStepMs, nullptr);
        }
    }
    int queued = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == curl) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi, curl);
    return result;
}

class CurlFtpConnection final : public FtpConnection {
public:
    CurlFtpConnection(std::unique_ptr<Session> session, std::string serverUrl,
                      Clock::time_point deadline)
        : session_(std::move(session)), serverUrl_(std::move(serverUrl)), deadline_(deadline) {}

    bool PutFile(const std::string& localPath, const std::string& remotePath) override {
        const FileHandle file(std::fopen(localPath.c_str(), "rb"));
        struct stat status {};
        if (!file || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
            return false;
        }
        const Clock::duration left = deadline_ - Clock::now();
        if (left <= Clock::duration::zero()) {
            return false;
        }
        CURL* curl = session_->curl.get();
        const std::string url = serverUrl_ + UrlPath(remotePath);
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadFromFile);
        curl_easy_setopt(curl, CURLOPT_READDATA, file.get());
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(status.st_size));
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, Milliseconds(left));
        return Perform(*session_) == CURLE_OK;
    }

private:
    std::unique_ptr<Session> session_;
    std::string serverUrl_;
    Clock::time_point deadline_;
};

}  // namespace

CurlFtpClient::CurlFtpClient() : CurlFtpClient(Timeouts{}) {}

CurlFtpClient::CurlFtpClient(Timeouts timeouts) : timeouts_(timeouts) {}

CurlFtpClient::~CurlFtpClient() {
    if (initialised_) {
        curl_global_cleanup();
    }
}

bool CurlFtpClient::EnsureLibraryReady() {
    // Not at start-up: a run that never uploads does not pay for TLS library set-up.
    std::call_once(initOnce_,
                   [this] { initialised_ = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return initialised_;
}

FtpConnectResult CurlFtpClient::Connect(const std::string& server, std::uint16_t port,
                                        const std::string& user, const std::string& password) {
    const Clock::time_point deadline = Clock::now() + timeouts_.total;
    if (!IsPlainServerName(server)) {
        return {nullptr, FtpError::NameNotResolved};
    }
    if (!EnsureLibraryReady()) {
        return {nullptr, FtpError::InternalError};
    }
    auto session = std::make_unique<Session>();
    if (!session->multi || !session->curl) {
        return {nullptr, FtpError::InternalError};
    }
    CURL* c = session->curl.get();
    std::string serverUrl = ServerUrl(server, port);
    const std::string url = serverUrl + "/";
    const auto replySeconds = std::chrono::ceil<std::chrono::seconds>(timeouts_.connect).count();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(c, CURLOPT_PROXY, "");     // straight to the target, whatever the environment
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // runs on a worker thread
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(timeouts_.connect));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(replySeconds));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, Milliseconds(timeouts_.total));
    // Passive mode is libcurl's default (no CURLOPT_FTPPORT); the transfer type is binary unless
    // CURLOPT_TRANSFERTEXT is set; missing folders are not created.
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    if (!user.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.c_str());
    }
    // Log in without a transfer: connection and login failures are told apart from upload ones,
    // and the upload reuses this connection.
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    const FtpError error = ConnectError(Perform(*session));
    if (error != FtpError::None) {
        return {nullptr, error};
    }
    return {std::make_unique<CurlFtpConnection>(std::move(session), std::move(serverUrl), deadline),
            FtpError::None};
}

}  // namespace tessaly
