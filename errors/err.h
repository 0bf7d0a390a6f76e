// The Err family: exceptions that carry a dotted type name, an optional cause chain and a one-line text.
#pragma once

#include <memory>
#include <string>
#include <system_error>
#include <type_traits>

#include "errors/err_category.h"

namespace Err {

// "base.word": how every type name below "Error" is built.
std::string joinTypeName(const std::string& base, const char* word);

class Error : public std::system_error {
public:
    explicit Error(const std::string& message);

    // Type name of this class; each class of the family has one, built once per process.
    static const std::string& typeName();

    [[noreturn]] virtual void raise() const;
    virtual const std::string& name() const;
    virtual const std::string& fullName() const;
    virtual std::shared_ptr<Error> clone() const;

    const std::string& message() const { return message_; }

private:
    std::string message_;
};

// An error that may chain a cause; keeps the cause's texts, not the cause.
class Error2 : public Error {
public:
    explicit Error2(const std::string& message);
    Error2(const std::string& message, const std::shared_ptr<const Error>& cause);

    // Composed on first call and cached; the caches travel with copies.
    const char* what() const noexcept override;
    [[noreturn]] void raise() const override;
    const std::string& name() const override;
    const std::string& fullName() const override;
    std::shared_ptr<Error> clone() const override;

private:
    std::string causeText_;
    std::string causeFullName_;
    mutable std::string whatCache_;
    mutable std::string fullNameCache_;
};

struct SystemError_t {};

template <class Kind>
class CodeBasedError;

// A Win32 error code with its system text.
template <>
class CodeBasedError<SystemError_t> : public Error2 {
public:
    CodeBasedError(int code, const std::string& message);

    static const std::string& typeName();

    const char* what() const noexcept override;
    [[noreturn]] void raise() const override;
    const std::string& name() const override;
    std::shared_ptr<Error> clone() const override;

    int code() const { return code_; }

private:
    mutable std::string codeWhatCache_;
    int code_;
};

using SystemError = CodeBasedError<SystemError_t>;

namespace System {
// Each tag names one kind of system error by the last word of its type name.
struct AccessDenied_t {
    static constexpr const char* word = "AccessDenied";
};
struct OutOfDiskSpace_t {
    static constexpr const char* word = "OutOfDiskSpace";
};
struct Cancelled_t {
    static constexpr const char* word = "Cancelled";
};
struct ElevationRequired_t {
    static constexpr const char* word = "ElevationRequired";
};
struct FileNotFound_t {
    static constexpr const char* word = "FileNotFound";
};
}  // namespace System

template <class Tag>
class SpecificSystemError : public SystemError {
public:
    SpecificSystemError(int code, const std::string& message) : SystemError(code, message) {}

    static const std::string& typeName()
    {
        static const std::string name = joinTypeName(SystemError::typeName(), Tag::word);
        return name;
    }

    [[noreturn]] void raise() const override { throw *this; }
    const std::string& name() const override { return typeName(); }
    std::shared_ptr<Error> clone() const override { return std::make_shared<SpecificSystemError>(*this); }
};

// A module's own error family. Traits: `using base = <base class>` (Err::Error2 or another GenericError)
// and `static const std::string& name()`, e.g. joinTypeName(Err::Error::typeName(), "KnownPaths").
template <class Traits>
class GenericError : public Traits::base {
    using Base = typename Traits::base;
    static_assert(std::is_base_of_v<Error2, Base>);

public:
    GenericError(std::shared_ptr<const Error> cause, const std::string& message) : Base(makeBase(cause, message)) {}

    static const std::string& typeName() { return Traits::name(); }

    [[noreturn]] void raise() const override { throw *this; }
    const std::string& name() const override { return typeName(); }
    std::shared_ptr<Error> clone() const override { return std::make_shared<GenericError>(*this); }

private:
    // Error2 takes (message, cause); the family's own classes take (cause, message).
    static Base makeBase(const std::shared_ptr<const Error>& cause, const std::string& message)
    {
        if constexpr (std::is_same_v<Base, Error2>)
            return Error2(message, cause);
        else
            return Base(cause, message);
    }
};

// The class chosen by the Win32 code (access denied, file not found, ...), as its common base.
std::shared_ptr<SystemError> makeSystemError(int code, const std::string& message);

// makeSystemError(GetLastError(), "").
std::shared_ptr<SystemError> makeLastSystemError();

}  // namespace Err
