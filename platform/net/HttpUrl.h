#pragma once
// How the client reads a URL: the host, the port it connects to and the request path. The rules
// are the old client's, so URLs that hosts already store keep working.
#include <string>

namespace plat {

struct HttpTarget {
    std::string Host;
    int Port = 80;
    std::string Path; // from the first "/" after the host on; "/" when the URL has none
    // The URL as it goes on the wire: "http://" + host, ":" + port unless 80, and the path.
    std::string Url() const;
};

// ConfiguredPort applies to URLs without a scheme; "http" means 80 and an explicit ":port"
// overrides both. Raises HttpError "Empty URL", "HTTP Secure Socket is not supported",
// "Null Remote Address" (no host) or "Invalid URL" (a bad port, blanks or control characters).
HttpTarget ParseHttpUrl(const std::string& Url, int ConfiguredPort);

} // namespace plat
