#pragma once
// The notifier's HTTP/1.0 client: one GET at a time, body kept in memory.
//
// Get looks synchronous to its caller yet keeps the caller's window messages flowing: it drives
// libcurl's multi interface on the calling thread, waiting on the socket for at most a few
// milliseconds at a time and calling ProcessMessages in between. The owner's notifications are
// therefore made on the caller's thread, from inside Get, and no second thread exists.
#include "platform/net/HttpResponse.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace plat {

enum class HttpRequestKind { Get };

class HttpClientEvents {
public:
    virtual void OnConnect() = 0;
    virtual void OnConnectionFailed() = 0;
    virtual void OnSuccess(HttpRequestKind Kind) = 0;
    virtual void OnFailure(HttpRequestKind Kind) = 0;

protected:
    ~HttpClientEvents() = default;
};

class HttpClient {
public:
    explicit HttpClient(HttpClientEvents& Owner);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    int Port = 80;       // for URLs that name no scheme and no port
    int TimeOut = 10000; // ms without progress while connecting or between two packets
    size_t MaxBodySize = 4u << 20;
    int MaxRedirects = 5; // 301, 302, 303, 307 and 308 are followed, to http URLs only
    std::string Proxy;    // host; empty for a direct connection
    int ProxyPort = 0;
    std::string UserId; // proxy credentials, sent as Basic Proxy-Authorization
    std::string Password;
    std::function<void()> ProcessMessages;

    // Fetches Url. An HTTP answer ends in OnSuccess or OnFailure; a refused or timed-out
    // connection in OnConnectionFailed and then an HttpError; any other trouble in an HttpError.
    void Get(const std::string& Url);

    const std::string& Body() const { return body_.Text(); }
    long StatusCode() const { return status_; }
    bool Busy() const { return busy_; }

private:
    struct Handles;
    HttpClientEvents& owner_;
    // One easy handle for the client's life, so the cookies a server sets go out on the next Get.
    std::unique_ptr<Handles> handles_;
    HttpBody body_{0};
    long status_ = 0;
    bool busy_ = false;
};

} // namespace plat
