#include "platform/net/HttpUrl.h"

#include "platform/net/HttpResponse.h"

#include <algorithm>
#include <cctype>

namespace plat {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

} // namespace

std::string HttpTarget::Url() const {
    return "http://" + Host + (Port == 80 ? "" : ":" + std::to_string(Port)) + Path;
}

HttpTarget ParseHttpUrl(const std::string& Url, int ConfiguredPort) {
    if (Url.empty()) throw HttpError("Empty URL");
    // Blanks and control characters would change the request line; curl would refuse them too.
    if (std::any_of(Url.begin(), Url.end(), [](unsigned char c) { return c <= ' ' || c == 0x7f; }))
        throw HttpError("Invalid URL");

    HttpTarget t;
    t.Port = ConfiguredPort;
    size_t colon = Url.find(':');
    std::string scheme = colon == std::string::npos ? "" : Lower(Url.substr(0, colon));
    if (scheme == "https") throw HttpError("HTTP Secure Socket is not supported");
    if (scheme == "http") t.Port = 80;

    size_t slashes = Url.find("//");
    size_t hostStart = slashes == std::string::npos ? 0 : slashes + 2;
    size_t pathStart = Url.find('/', hostStart);
    std::string authority =
        Url.substr(hostStart, pathStart == std::string::npos ? std::string::npos : pathStart - hostStart);
    t.Path = pathStart == std::string::npos ? "/" : Url.substr(pathStart);

    size_t portColon = authority.find(':');
    t.Host = authority.substr(0, portColon);
    if (portColon != std::string::npos) {
        std::string port = authority.substr(portColon + 1);
        if (!AllDigits(port) || port.size() > 5 || std::stoi(port) == 0 || std::stoi(port) > 65535)
            throw HttpError("Invalid URL");
        t.Port = std::stoi(port);
    }
    if (t.Host.empty()) throw HttpError("Null Remote Address");
    if (t.Port <= 0 || t.Port > 65535) throw HttpError("Invalid URL");
    return t;
}

} // namespace plat
