#pragma once
// What the client makes of a finished response: which notification a status earns, and the body
// kept in memory up to a cap so a hostile server cannot exhaust it.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace plat {

// Every error the client raises; what() is the text the user sees.
class HttpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kBodyTooLarge = "The server's answer is too large";

enum class HttpOutcome { Success, Failure };

// 200 to 298 succeed. Everything else fails: 400 and above as the old client did, and also 299,
// the 1xx codes and any 3xx that is left once redirects are done, so no answer leaves the owner
// without a notification.
HttpOutcome ClassifyStatus(long Status);

class HttpBody {
public:
    explicit HttpBody(size_t Cap) : cap_(Cap) {}
    // False (and nothing kept) once the total would pass the cap.
    bool Append(std::string_view Data);
    bool Overflowed() const { return overflowed_; }
    const std::string& Text() const { return text_; }
    void Clear();

private:
    size_t cap_;
    bool overflowed_ = false;
    std::string text_;
};

} // namespace plat
