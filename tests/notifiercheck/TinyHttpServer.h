#pragma once
// A one-thread HTTP server on 127.0.0.1 for the client tests: each connection gets the next
// canned answer (the last one repeats) and every request is recorded as it arrived. An answer
// may stall: its bytes go out and the connection then stays open until the server stops.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace heraldex::test {

struct CannedAnswer {
    std::string Bytes;
    bool Stall = false;
};

inline CannedAnswer Answer(int status, const std::string& body, const std::string& extraHeaders = "") {
    return {"HTTP/1.0 " + std::to_string(status) + " X\r\n" + extraHeaders +
            "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body};
}

class TinyHttpServer {
public:
    explicit TinyHttpServer(std::vector<CannedAnswer> answers) : answers_(std::move(answers)) {
        listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            listen(listen_, 8) != 0 || getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len) != 0 ||
            pipe(stop_) != 0)
            throw std::runtime_error("test server cannot listen");
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~TinyHttpServer() {
        (void)!write(stop_[1], "x", 1);
        thread_.join();
        close(listen_);
        close(stop_[0]);
        close(stop_[1]);
    }
    TinyHttpServer(const TinyHttpServer&) = delete;
    TinyHttpServer& operator=(const TinyHttpServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    // A port on which nothing listens: bound once, then released.
    static int ClosedPort() {
        int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
        close(s);
        return ntohs(a.sin_port);
    }

private:
    // Waits for fd to become readable; false once the server is stopping.
    bool WaitReadable(int fd) {
        pollfd p[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        while (poll(p, 2, -1) < 0) {
        }
        return !(p[1].revents & POLLIN);
    }

    void Serve() {
        for (size_t n = 0;; ++n) {
            if (!WaitReadable(listen_)) return;
            int c = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos && WaitReadable(c)) {
                ssize_t got = read(c, buf, sizeof buf);
                if (got <= 0) break;
                request.append(buf, size_t(got));
            }
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
            }
            const CannedAnswer& a = answers_[std::min(n, answers_.size() - 1)];
            (void)!send(c, a.Bytes.data(), a.Bytes.size(), MSG_NOSIGNAL);
            if (a.Stall) {
                // Hold the connection until the client gives up and closes it, or the server stops.
                while (WaitReadable(c) && read(c, buf, sizeof buf) > 0) {
                }
            }
            close(c);
        }
    }

    std::vector<CannedAnswer> answers_;
    int listen_ = -1;
    int stop_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

} // namespace heraldex::test
