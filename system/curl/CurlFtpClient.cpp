#include "system/curl/CurlFtpClient.h"

#include <curl/curl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

#include "system/posix/RuntimeLibrary.h"

namespace tessaly {

// The libcurl functions used here, looked up in the library loaded at run time.
struct CurlLibrary {
    decltype(&curl_global_init) global_init = nullptr;
    decltype(&curl_global_cleanup) global_cleanup = nullptr;
    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&curl_multi_init) multi_init = nullptr;
    decltype(&curl_multi_cleanup) multi_cleanup = nullptr;
    decltype(&curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&curl_multi_perform) multi_perform = nullptr;
    decltype(&curl_multi_poll) multi_poll = nullptr;
    decltype(&curl_multi_info_read) multi_info_read = nullptr;
    bool initialised = false;  // curl_global_init succeeded
};

namespace {

bool Load(const std::string& name, CurlLibrary& api) {
    void* library = LoadRuntimeLibrary(name);
    return library && ResolveSymbol(library, "curl_global_init", api.global_init) &&
           ResolveSymbol(library, "curl_global_cleanup", api.global_cleanup) &&
           ResolveSymbol(library, "curl_easy_init", api.easy_init) &&
           ResolveSymbol(library, "curl_easy_cleanup", api.easy_cleanup) &&
           ResolveSymbol(library, "curl_easy_setopt", api.easy_setopt) &&
           ResolveSymbol(library, "curl_easy_getinfo", api.easy_getinfo) &&
           ResolveSymbol(library, "curl_multi_init", api.multi_init) &&
           ResolveSymbol(library, "curl_multi_cleanup", api.multi_cleanup) &&
           ResolveSymbol(library, "curl_multi_add_handle", api.multi_add_handle) &&
           ResolveSymbol(library, "curl_multi_remove_handle", api.multi_remove_handle) &&
           ResolveSymbol(library, "curl_multi_perform", api.multi_perform) &&
           ResolveSymbol(library, "curl_multi_poll", api.multi_poll) &&
           ResolveSymbol(library, "curl_multi_info_read", api.multi_info_read);
}

using Clock = std::chrono::steady_clock;

// One transfer handle and the multi handle whose connection cache keeps the logged-in control
// connection between transfers. Destroying it closes the connection (QUIT).
class Session {
public:
    Session(const CurlLibrary& library, Clock::duration quiet)
        : api(library), multi(library.multi_init()), curl(library.easy_init()), silence(quiet) {}
    ~Session() {
        if (curl) {
            api.easy_cleanup(curl);
        }
        if (multi) {
            api.multi_cleanup(multi);
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const CurlLibrary& api;
    CURLM* const multi;
    CURL* const curl;
    // The longest the server may stay silent, and when it last said something or took data.
    const Clock::duration silence;
    Clock::time_point lastHeard = Clock::now();
};

// libcurl's trace, read only for when bytes come from the server or go to it: a reply, the
// greeting, data. The texts (a password among them) are not looked at.
int NoteTraffic(CURL*, curl_infotype type, char*, std::size_t, void* session) {
    if (type == CURLINFO_HEADER_IN || type == CURLINFO_DATA_IN || type == CURLINFO_DATA_OUT) {
        static_cast<Session*>(session)->lastHeard = Clock::now();
    }
    return 0;
}

// The longest the transfer loop sleeps between two looks at libcurl's state. libcurl 7.88 can
// leave a reused FTP connection with nothing to wait on after EPSV, and its own transfer loop
// then sleeps a whole second.
constexpr int kPollStepMs = 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

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

// What a SIZE request gives besides its number ("Content-Length: ...") is not wanted on
// standard output, where libcurl would put it.
std::size_t Discard(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
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

// Runs the transfer set up on the session, as curl_easy_perform does, but gives up once the
// server has been silent for longer than the session allows. libcurl's own connect timeout
// would count the greeting and every login reply together, its reply timeout not the connection
// itself.
CURLcode Perform(Session& session) {
    const CurlLibrary& api = session.api;
    if (api.multi_add_handle(session.multi, session.curl) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    session.lastHeard = Clock::now();
    CURLcode result = CURLE_FAILED_INIT;
    int running = 1;
    while (running > 0 && api.multi_perform(session.multi, &running) == CURLM_OK) {
        if (running == 0) {
            break;
        }
        if (Clock::now() - session.lastHeard > session.silence) {
            api.multi_remove_handle(session.multi, session.curl);
            return CURLE_OPERATION_TIMEDOUT;
        }
        api.multi_poll(session.multi, nullptr, 0, kPollStepMs, nullptr);
    }
    int queued = 0;
    while (const CURLMsg* message = api.multi_info_read(session.multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == session.curl) {
            result = message->data.result;
        }
    }
    api.multi_remove_handle(session.multi, session.curl);
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
        CURL* curl = session_->curl;
        const auto setopt = session_->api.easy_setopt;
        const std::string url = serverUrl_ + UrlPath(remotePath);
        const curl_read_callback read = ReadFromFile;
        setopt(curl, CURLOPT_URL, url.c_str());
        setopt(curl, CURLOPT_NOBODY, 0L);
        setopt(curl, CURLOPT_UPLOAD, 1L);
        setopt(curl, CURLOPT_READFUNCTION, read);
        setopt(curl, CURLOPT_READDATA, file.get());
        setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(status.st_size));
        setopt(curl, CURLOPT_TIMEOUT_MS, Milliseconds(left));
        if (Perform(*session_) != CURLE_OK) {
            return false;
        }
        // A server may take the upload and store less (a full disk it does not report): where it
        // tells the size of what arrived, that size must be the file's.
        setopt(curl, CURLOPT_UPLOAD, 0L);
        setopt(curl, CURLOPT_NOBODY, 1L);
        setopt(curl, CURLOPT_TIMEOUT_MS,
               Milliseconds(std::max(deadline_ - Clock::now(), Clock::duration(1))));
        const CURLcode sized = Perform(*session_);
        curl_off_t stored = -1;
        if (sized == CURLE_OK) {
            session_->api.easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &stored);
        }
        // A server that answers SIZE with no number (one without SIZE, or refusing it) reports
        // nothing, and the upload's success stands.
        return stored < 0 || stored == static_cast<curl_off_t>(status.st_size);
    }

private:
    std::unique_ptr<Session> session_;
    std::string serverUrl_;
    Clock::time_point deadline_;
};

}  // namespace

CurlFtpClient::CurlFtpClient() : CurlFtpClient(Settings{}) {}

CurlFtpClient::CurlFtpClient(Settings settings) : settings_(std::move(settings)) {}

CurlFtpClient::~CurlFtpClient() {
    if (library_ && library_->initialised) {
        library_->global_cleanup();
    }
}

const CurlLibrary* CurlFtpClient::Library() {
    std::call_once(loadOnce_, [this] {
        auto api = std::make_unique<CurlLibrary>();
        if (Load(settings_.library, *api)) {
            api->initialised = api->global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
            library_ = std::move(api);
        }
    });
    return library_ && library_->initialised ? library_.get() : nullptr;
}

FtpConnectResult CurlFtpClient::Connect(const std::string& server, std::uint16_t port,
                                        const std::string& user, const std::string& password) {
    const Clock::time_point deadline = Clock::now() + settings_.total;
    if (!IsPlainServerName(server)) {
        return {nullptr, FtpError::NameNotResolved};
    }
    const CurlLibrary* api = Library();
    if (!api) {
        return {nullptr, FtpError::InternalError};
    }
    auto session = std::make_unique<Session>(*api, settings_.silence);
    if (!session->multi || !session->curl) {
        return {nullptr, FtpError::InternalError};
    }
    CURL* c = session->curl;
    const auto setopt = api->easy_setopt;
    std::string serverUrl = ServerUrl(server, port);
    const std::string url = serverUrl + "/";
    const curl_debug_callback trace = NoteTraffic;
    setopt(c, CURLOPT_URL, url.c_str());
    setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    setopt(c, CURLOPT_PROXY, "");     // straight to the target, whatever the environment says
    setopt(c, CURLOPT_NOSIGNAL, 1L);  // runs on a worker thread
    // Silence is watched by Perform; connecting and logging in may take up to the total.
    setopt(c, CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(settings_.total));
    setopt(c, CURLOPT_TIMEOUT_MS, Milliseconds(settings_.total));
    const curl_write_callback discard = Discard;
    setopt(c, CURLOPT_WRITEFUNCTION, discard);
    setopt(c, CURLOPT_HEADERFUNCTION, discard);
    setopt(c, CURLOPT_DEBUGFUNCTION, trace);
    setopt(c, CURLOPT_DEBUGDATA, session.get());
    setopt(c, CURLOPT_VERBOSE, 1L);  // the trace goes to NoteTraffic alone
    // Passive mode is libcurl's default (no CURLOPT_FTPPORT); the transfer type is binary unless
    // CURLOPT_TRANSFERTEXT is set; missing folders are not created.
    setopt(c, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    if (!user.empty()) {
        setopt(c, CURLOPT_USERNAME, user.c_str());
        setopt(c, CURLOPT_PASSWORD, password.c_str());
    }
    // Log in without a transfer: connection and login failures are told apart from upload ones,
    // and the upload reuses this connection.
    setopt(c, CURLOPT_NOBODY, 1L);
    const FtpError error = ConnectError(Perform(*session));
    if (error != FtpError::None) {
        return {nullptr, error};
    }
    return {std::make_unique<CurlFtpConnection>(std::move(session), std::move(serverUrl), deadline),
            FtpError::None};
}

}  // namespace tessaly
