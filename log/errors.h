// Failures of the logging layer; they go to a core's error handler, never to the code that logged.
#pragma once

#include <exception>
#include <string>

namespace Log::Errors {

class Base : public std::exception {
public:
    explicit Base(std::string message) : message_(std::move(message)) {}

    const char* what() const noexcept override { return message_.c_str(); }
    [[noreturn]] virtual void raise() const { throw *this; }

private:
    std::string message_;
};

class Failed : public Base {
public:
    explicit Failed(const std::string& message) : Base(message) {}

    [[noreturn]] void raise() const override { throw *this; }
};

}  // namespace Log::Errors
