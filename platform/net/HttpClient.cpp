#include "platform/net/HttpClient.h"

#include "platform/net/HttpUrl.h"

#include <curl/curl.h>

#include <chrono>
#include <mutex>

namespace plat {

namespace {

using Clock = std::chrono::steady_clock;

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What the callbacks see; they only record, the loop in Get acts.
struct Progress {
    HttpBody* body;
    bool connected = false;
    Clock::time_point lastActivity = Clock::now();
};

size_t OnData(char* data, size_t size, size_t count, void* user) {
    auto* p = static_cast<Progress*>(user);
    p->lastActivity = Clock::now();
    return p->body->Append({data, size * count}) ? size * count : 0;
}

size_t OnHeader(char*, size_t size, size_t count, void* user) {
    static_cast<Progress*>(user)->lastActivity = Clock::now();
    return size * count;
}

int OnConnected(void* user, char*, char*, int, int) {
    auto* p = static_cast<Progress*>(user);
    p->connected = true;
    p->lastActivity = Clock::now();
    return CURL_PREREQFUNC_OK;
}

struct HeaderList {
    curl_slist* list = nullptr;
    void Add(const char* line) { list = curl_slist_append(list, line); }
    ~HeaderList() { curl_slist_free_all(list); }
};

} // namespace

struct HttpClient::Handles {
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    Handles() {
        GlobalInit();
        easy = curl_easy_init();
        multi = curl_multi_init();
        if (!easy || !multi) {
            Release();
            throw HttpError("Out of memory for the HTTP client");
        }
    }
    ~Handles() { Release(); }
    void Release() {
        if (multi) curl_multi_cleanup(multi);
        if (easy) curl_easy_cleanup(easy);
        multi = nullptr;
        easy = nullptr;
    }
};

HttpClient::HttpClient(HttpClientEvents& Owner) : owner_(Owner), handles_(std::make_unique<Handles>()) {}

HttpClient::~HttpClient() = default;

void HttpClient::Get(const std::string& Url) {
    if (busy_) throw HttpError("The HTTP client is busy");
    HttpTarget target = ParseHttpUrl(Url, Port);
    struct BusyGuard {
        bool& b;
        explicit BusyGuard(bool& f) : b(f) { b = true; }
        ~BusyGuard() { b = false; }
    } busy(busy_);

    body_ = HttpBody(MaxBodySize);
    status_ = 0;
    Progress progress{&body_};
    CURL* e = handles_->easy;
    curl_easy_reset(e);
    std::string url = target.Url();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // Redirects are followed a bounded number of times; 300 without a usable Location, 304 and
    // the rest end as failures (see ClassifyStatus).
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, MaxRedirects > 0 ? 1L : 0L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, long(MaxRedirects));
    curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(MaxBodySize));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(TimeOut));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnData);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &progress);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &progress);
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, OnConnected);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, &progress);

    HeaderList headers;
    std::string proxy;
    if (!Proxy.empty()) {
        proxy = "http://" + Proxy + ":" + std::to_string(ProxyPort);
        headers.Add("Proxy-Connection: Keep-Alive");
    }
    headers.Add("Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
    headers.Add("Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
    headers.Add("Content-type: application/x-www-form-urlencoded");
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.list);
    // An empty proxy also keeps the environment's http_proxy out of the notifier's settings.
    curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(e, CURLOPT_NOPROXY, "");
    if (!proxy.empty() && !UserId.empty()) {
        curl_easy_setopt(e, CURLOPT_PROXYAUTH, long(CURLAUTH_BASIC));
        curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, UserId.c_str());
        curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, Password.c_str());
    }

    CURLM* m = handles_->multi;
    if (curl_multi_add_handle(m, e) != CURLM_OK) throw HttpError("The HTTP client cannot start");
    struct Attached {
        CURLM* m;
        CURL* e;
        ~Attached() { curl_multi_remove_handle(m, e); }
    } attached{m, e};

    bool notifiedConnect = false;
    bool idle = false;
    for (;;) {
        int running = 0;
        curl_multi_perform(m, &running);
        if (progress.connected && !notifiedConnect) {
            notifiedConnect = true;
            owner_.OnConnect();
        }
        if (!running) break;
        if (Clock::now() - progress.lastActivity > std::chrono::milliseconds(TimeOut)) {
            idle = true;
            break;
        }
        // Short waits on the socket while connecting, a little longer once data flows.
        curl_multi_poll(m, nullptr, 0, progress.connected ? 10 : 2, nullptr);
        if (ProcessMessages) ProcessMessages();
    }

    CURLcode result = CURLE_OK;
    if (!idle) {
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(m, &left))
            if (msg->msg == CURLMSG_DONE) result = msg->data.result;
    }
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status_);

    bool connected = progress.connected;
    if (idle || result == CURLE_OPERATION_TIMEDOUT) {
        if (connected) throw HttpError("Socket capture aborted");
        curl_off_t lookup = 0;
        curl_easy_getinfo(e, CURLINFO_NAMELOOKUP_TIME_T, &lookup);
        if (lookup == 0 && Proxy.empty()) throw HttpError("Host Lookup Timed Out");
        owner_.OnConnectionFailed();
        throw HttpError("Connection Timed out");
    }
    switch (result) {
    case CURLE_OK:
        if (ClassifyStatus(status_) == HttpOutcome::Success)
            owner_.OnSuccess(HttpRequestKind::Get);
        else
            owner_.OnFailure(HttpRequestKind::Get);
        return;
    case CURLE_TOO_MANY_REDIRECTS:
        owner_.OnFailure(HttpRequestKind::Get);
        return;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        throw HttpError("Null Remote Address");
    case CURLE_COULDNT_CONNECT:
        owner_.OnConnectionFailed();
        throw HttpError("Connection Failed");
    case CURLE_FILESIZE_EXCEEDED:
        throw HttpError(kBodyTooLarge);
    case CURLE_WRITE_ERROR:
        if (body_.Overflowed()) throw HttpError(kBodyTooLarge);
        break;
    case CURLE_UNSUPPORTED_PROTOCOL:
        throw HttpError("Redirected to a URL that is not http");
    case CURLE_WEIRD_SERVER_REPLY:
        throw HttpError("The server's answer is not HTTP");
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        throw HttpError("Socket capture aborted");
    default:
        break;
    }
    throw HttpError(curl_easy_strerror(result));
}

} // namespace plat
