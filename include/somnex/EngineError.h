#pragma once
// The one error type the engine raises. Its message is the text the user is shown, so hosts can
// catch it (or std::exception) and display what() as it stands.
#include <stdexcept>
#include <string>

#define SOMNEX_PUBLIC __attribute__((visibility("default")))

namespace somnex {

class SOMNEX_PUBLIC EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& message) : std::runtime_error(message) {}
    explicit EngineError(const char* message) : std::runtime_error(message) {}
};

} // namespace somnex
