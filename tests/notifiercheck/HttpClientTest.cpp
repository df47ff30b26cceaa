// The HTTP client against a server on loopback: request lines, the four notifications, the
// client's errors, the body cap, redirects, cookies, the idle time-out and the proxy.
#include "platform/net/HttpClient.h"
#include "platform/net/HttpUrl.h"
#include "tests/notifiercheck/TinyHttpServer.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using heraldex::test::Answer;
using heraldex::test::CannedAnswer;
using heraldex::test::TinyHttpServer;
using plat::HttpClient;
using plat::HttpError;

struct Recorder : plat::HttpClientEvents {
    std::vector<std::string> Events;
    void OnConnect() override { Events.push_back("connect"); }
    void OnConnectionFailed() override { Events.push_back("connection failed"); }
    void OnSuccess(plat::HttpRequestKind) override { Events.push_back("success"); }
    void OnFailure(plat::HttpRequestKind) override { Events.push_back("failure"); }
};

// Runs Get and returns the error text, empty when none was raised.
std::string GetError(HttpClient& client, const std::string& url) {
    try {
        client.Get(url);
    } catch (const HttpError& e) {
        return e.what();
    }
    return "";
}

bool Has(const std::string& request, const std::string& line) {
    return request.find(line + "\r\n") != std::string::npos;
}

TEST(HttpClient, GetSendsTheHttp10RequestAndKeepsTheBody) {
    TinyHttpServer server({Answer(200, "[Info]\r\nNewsCount=0\r\n")});
    Recorder owner;
    HttpClient client(owner);
    client.Get(server.Url("/news/whatsnew.ini"));
    EXPECT_EQ(owner.Events, (std::vector<std::string>{"connect", "success"}));
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(client.Body(), "[Info]\r\nNewsCount=0\r\n");
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string r = server.Requests()[0];
    EXPECT_EQ(r.rfind("GET /news/whatsnew.ini HTTP/1.0\r\n", 0), 0u) << r;
    EXPECT_TRUE(Has(r, "Host: 127.0.0.1:" + std::to_string(server.Port()))) << r;
    EXPECT_TRUE(Has(r, "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff")) << r;
    EXPECT_TRUE(Has(r, "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript")) << r;
    EXPECT_TRUE(Has(r, "Content-type: application/x-www-form-urlencoded")) << r;
    EXPECT_EQ(r.find("Proxy-"), std::string::npos) << r;
    EXPECT_EQ(r.find("Authorization"), std::string::npos) << r;
}

struct StatusCase {
    int Status;
    const char* Event;
};

std::ostream& operator<<(std::ostream& os, const StatusCase& c) {
    return os << c.Status;
}

class HttpStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(HttpStatus, EndsInSuccessOrFailure) {
    TinyHttpServer server({Answer(GetParam().Status, "body")});
    Recorder owner;
    HttpClient client(owner);
    EXPECT_EQ(GetError(client, server.Url("/")), "");
    EXPECT_EQ(owner.Events, (std::vector<std::string>{"connect", GetParam().Event}));
    EXPECT_EQ(client.StatusCode(), GetParam().Status);
}

INSTANTIATE_TEST_SUITE_P(Codes, HttpStatus,
                         ::testing::Values(StatusCase{200, "success"}, StatusCase{204, "success"},
                                           StatusCase{298, "success"}, StatusCase{299, "failure"},
                                           StatusCase{304, "failure"}, StatusCase{404, "failure"},
                                           StatusCase{500, "failure"}));

TEST(HttpClient, RefusedConnectionNotifiesAndRaisesConnectionFailed) {
    Recorder owner;
    HttpClient client(owner);
    std::string url = "http://127.0.0.1:" + std::to_string(TinyHttpServer::ClosedPort()) + "/news.ini";
    EXPECT_EQ(GetError(client, url), "Connection Failed");
    EXPECT_EQ(owner.Events, (std::vector<std::string>{"connection failed"}));
}

struct CapCase {
    const char* Name;
    std::string Response;
};

std::ostream& operator<<(std::ostream& os, const CapCase& c) {
    return os << c.Name;
}

class BodyCap : public ::testing::TestWithParam<CapCase> {};

TEST_P(BodyCap, ABodyOverTheCapIsAnError) {
    TinyHttpServer server({{GetParam().Response}});
    Recorder owner;
    HttpClient client(owner);
    client.MaxBodySize = 64;
    EXPECT_EQ(GetError(client, server.Url("/")), plat::kBodyTooLarge);
    EXPECT_EQ(owner.Events, (std::vector<std::string>{"connect"}));
}

INSTANTIATE_TEST_SUITE_P(Framing, BodyCap,
                         ::testing::Values(CapCase{"Announced", Answer(200, std::string(65, 'x')).Bytes},
                                           CapCase{"ReadToClose",
                                                   "HTTP/1.0 200 OK\r\n\r\n" + std::string(100000, 'y')},
                                           CapCase{"ErrorPage", Answer(404, std::string(1000, 'z')).Bytes}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HttpClient, ABodyExactlyAtTheCapIsKept) {
    TinyHttpServer server({{"HTTP/1.0 200 OK\r\n\r\n" + std::string(64, 'x')}});
    Recorder owner;
    HttpClient client(owner);
    client.MaxBodySize = 64;
    EXPECT_EQ(GetError(client, server.Url("/")), "");
    EXPECT_EQ(client.Body().size(), 64u);
}

struct StallCase {
    const char* Name;
    std::string Sent; // what the server sends before it goes quiet
};

std::ostream& operator<<(std::ostream& os, const StallCase& c) {
    return os << c.Name;
}

class SlowServer : public ::testing::TestWithParam<StallCase> {};

TEST_P(SlowServer, SilenceAfterConnectingAbortsTheCapture) {
    TinyHttpServer server({{GetParam().Sent, true}});
    Recorder owner;
    HttpClient client(owner);
    client.TimeOut = 200;
    int pumped = 0;
    client.ProcessMessages = [&] { ++pumped; };
    EXPECT_EQ(GetError(client, server.Url("/")), "Socket capture aborted");
    EXPECT_EQ(owner.Events, (std::vector<std::string>{"connect"}));
    EXPECT_GT(pumped, 0) << "waiting must keep the caller's messages flowing";
    EXPECT_FALSE(client.Busy());
}

INSTANTIATE_TEST_SUITE_P(Stalls, SlowServer,
                         ::testing::Values(StallCase{"BeforeAnswering", ""},
                                           StallCase{"InTheBody",
                                                     "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nabc"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HttpClient, ABodyCutShortOfItsLengthIsNotASuccess) {
    TinyHttpServer server({{"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n[Info]\r\n"}});
    Recorder owner;
    HttpClient client(owner);
    EXPECT_EQ(GetError(client, server.Url("/")), "Socket capture aborted");
    EXPECT_EQ(owner.Events, (std::vector<std::string>{"connect"}));
}

TEST(HttpClient, RedirectIsFollowedWithTheCookieTheServerSet) {
    TinyHttpServer server(
        {Answer(302, "", "Location: /moved.ini\r\nSet-Cookie: visit=7; Path=/\r\n"), Answer(200, "moved")});
    Recorder owner;
    HttpClient client(owner);
    client.Get(server.Url("/news.ini"));
    EXPECT_EQ(client.Body(), "moved");
    EXPECT_EQ(owner.Events, (std::vector<std::string>{"connect", "success"}));
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].rfind("GET /moved.ini HTTP/1.0\r\n", 0), 0u) << requests[1];
    EXPECT_TRUE(Has(requests[1], "Cookie: visit=7")) << requests[1];
}

TEST(HttpClient, EndlessRedirectsStopAndFail) {
    TinyHttpServer server({Answer(301, "", "Location: /again\r\n")});
    Recorder owner;
    HttpClient client(owner);
    client.MaxRedirects = 3;
    EXPECT_EQ(GetError(client, server.Url("/")), "");
    EXPECT_EQ(owner.Events.back(), "failure");
    EXPECT_EQ(server.Requests().size(), 4u);
}

TEST(HttpClient, ProxyGetsTheWholeUrlAndProxyCredentials) {
    TinyHttpServer proxy({Answer(200, "via proxy")});
    Recorder owner;
    HttpClient client(owner);
    client.Proxy = "127.0.0.1";
    client.ProxyPort = proxy.Port();
    client.UserId = "alice";
    client.Password = "s3cret";
    client.Get("http://news.brindlewood.invalid/whatsnew.ini");
    EXPECT_EQ(client.Body(), "via proxy");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    const std::string r = proxy.Requests()[0];
    EXPECT_EQ(r.rfind("GET http://news.brindlewood.invalid/whatsnew.ini HTTP/1.0\r\n", 0), 0u) << r;
    EXPECT_TRUE(Has(r, "Host: news.brindlewood.invalid")) << r;
    EXPECT_TRUE(Has(r, "Proxy-Connection: Keep-Alive")) << r;
    // "alice:s3cret" in base64.
    EXPECT_TRUE(Has(r, "Proxy-Authorization: Basic YWxpY2U6czNjcmV0")) << r;
    EXPECT_EQ(r.find("\r\nAuthorization:"), std::string::npos) << "credentials must not reach the site";
}

TEST(HttpClient, ProxyWithoutUserIdSendsNoCredentials) {
    TinyHttpServer proxy({Answer(200, "x")});
    Recorder owner;
    HttpClient client(owner);
    client.Proxy = "127.0.0.1";
    client.ProxyPort = proxy.Port();
    client.Get("http://news.brindlewood.invalid/whatsnew.ini");
    EXPECT_EQ(proxy.Requests()[0].find("Authorization"), std::string::npos);
}

struct UrlCase {
    const char* Url;
    int ConfiguredPort;
    const char* Host; // nullptr when an error is expected
    int Port;
    const char* PathOrError;
};

std::ostream& operator<<(std::ostream& os, const UrlCase& c) {
    return os << '"' << c.Url << '"';
}

class UrlRules : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlRules, HostPortAndPath) {
    const UrlCase& c = GetParam();
    if (!c.Host) {
        try {
            plat::ParseHttpUrl(c.Url, c.ConfiguredPort);
            ADD_FAILURE() << c.Url << " was accepted";
        } catch (const HttpError& e) {
            EXPECT_STREQ(e.what(), c.PathOrError);
        }
        return;
    }
    plat::HttpTarget t = plat::ParseHttpUrl(c.Url, c.ConfiguredPort);
    EXPECT_EQ(t.Host, c.Host);
    EXPECT_EQ(t.Port, c.Port);
    EXPECT_EQ(t.Path, c.PathOrError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlRules,
    ::testing::Values(
        UrlCase{"http://www.example.com/news/a.ini", 8080, "www.example.com", 80, "/news/a.ini"},
        UrlCase{"HTTP://www.example.com:8000/a", 8080, "www.example.com", 8000, "/a"},
        UrlCase{"http://www.example.com", 8080, "www.example.com", 80, "/"},
        UrlCase{"www.example.com/a.ini", 8080, "www.example.com", 8080, "/a.ini"},
        UrlCase{"www.example.com:81/a.ini", 8080, "www.example.com", 81, "/a.ini"},
        UrlCase{"", 80, nullptr, 0, "Empty URL"},
        UrlCase{"https://www.example.com/", 80, nullptr, 0, "HTTP Secure Socket is not supported"},
        UrlCase{"HTTPS://www.example.com/", 80, nullptr, 0, "HTTP Secure Socket is not supported"},
        UrlCase{"http:///a.ini", 80, nullptr, 0, "Null Remote Address"},
        UrlCase{"http://host:port/a", 80, nullptr, 0, "Invalid URL"},
        UrlCase{"http://host:70000/a", 80, nullptr, 0, "Invalid URL"},
        UrlCase{"http://host/a b", 80, nullptr, 0, "Invalid URL"},
        UrlCase{"http://host/a\r\nX: y", 80, nullptr, 0, "Invalid URL"}));

TEST(HttpClient, UrlErrorsComeBeforeAnyConnection) {
    Recorder owner;
    HttpClient client(owner);
    EXPECT_EQ(GetError(client, "https://www.example.com/"), "HTTP Secure Socket is not supported");
    EXPECT_TRUE(owner.Events.empty());
}

} // namespace
