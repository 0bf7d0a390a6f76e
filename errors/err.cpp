#include "errors/err.h"

#include <windows.h>

#include "errors/system_message.h"
#include "errors/win32_error_codes.h"

namespace Err {

namespace {

// Category message of 16001 is empty, so the standard text is "M: " for a message M. libstdc++ composes
// ": " for an empty message too, which would turn an empty message into a non-empty text.
std::system_error baseError(const std::string& message)
{
    const std::error_code code(details::kGenericError, details::errCategory());
    return message.empty() ? std::system_error(code) : std::system_error(code, message);
}

}  // namespace

std::string joinTypeName(const std::string& base, const char* word)
{
    return base + "." + word;
}

// Err::Error

Error::Error(const std::string& message) : std::system_error(baseError(message)), message_(message) {}

const std::string& Error::typeName()
{
    static const std::string name = "Error";
    return name;
}

void Error::raise() const
{
    throw *this;
}

const std::string& Error::name() const
{
    return typeName();
}

const std::string& Error::fullName() const
{
    return name();
}

std::shared_ptr<Error> Error::clone() const
{
    return std::make_shared<Error>(*this);
}

// Err::Error2

Error2::Error2(const std::string& message) : Error(message) {}

Error2::Error2(const std::string& message, const std::shared_ptr<const Error>& cause) : Error(message)
{
    if (cause) {
        causeText_ = std::string("\r\n+ ") + cause->what();
        causeFullName_ = cause->fullName();
    }
}

const char* Error2::what() const noexcept
{
    if (whatCache_.empty()) {
        try {
            std::string text = "[" + name() + "]";
            const char* base = Error::what();
            const std::string baseText = base ? base : "Unknown exception";
            if (!baseText.empty())
                text += " " + baseText;
            text += causeText_;
            whatCache_ = std::move(text);
        } catch (...) {
            // Out of memory while composing: the plain base text is the best left.
            return Error::what();
        }
    }
    return whatCache_.c_str();
}

void Error2::raise() const
{
    throw *this;
}

const std::string& Error2::name() const
{
    return Error::typeName();
}

const std::string& Error2::fullName() const
{
    if (fullNameCache_.empty())
        fullNameCache_ = causeFullName_.empty() ? name() : name() + "+" + causeFullName_;
    return fullNameCache_;
}

std::shared_ptr<Error> Error2::clone() const
{
    return std::make_shared<Error2>(*this);
}

// Err::CodeBasedError<SystemError_t>

CodeBasedError<SystemError_t>::CodeBasedError(int code, const std::string& message) : Error2(message), code_(code) {}

const std::string& CodeBasedError<SystemError_t>::typeName()
{
    static const std::string name = joinTypeName(Error::typeName(), "System");
    return name;
}

const char* CodeBasedError<SystemError_t>::what() const noexcept
{
    if (codeWhatCache_.empty()) {
        try {
            std::string text = Error2::what();
            const std::string systemText = details::systemMessage(code_);
            if (!systemText.empty())
                text += " " + systemText;
            text += " (" + std::to_string(code_) + ")";
            codeWhatCache_ = std::move(text);
        } catch (...) {
            return Error2::what();
        }
    }
    return codeWhatCache_.c_str();
}

void CodeBasedError<SystemError_t>::raise() const
{
    throw *this;
}

const std::string& CodeBasedError<SystemError_t>::name() const
{
    return typeName();
}

std::shared_ptr<Error> CodeBasedError<SystemError_t>::clone() const
{
    return std::make_shared<CodeBasedError>(*this);
}

// Factory

std::shared_ptr<SystemError> makeSystemError(int code, const std::string& message)
{
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_FAIL_I24:
        case ERROR_DRIVE_LOCKED:
        case ERROR_SEEK_ON_DEVICE:
        case ERROR_NOT_LOCKED:
        case ERROR_LOCK_FAILED:
        case ERROR_FILE_CORRUPT:
        case ERROR_DISK_CORRUPT:
            return std::make_shared<SpecificSystemError<System::AccessDenied_t>>(code, message);
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return std::make_shared<SpecificSystemError<System::FileNotFound_t>>(code, message);
        case ERROR_DISK_FULL:
            return std::make_shared<SpecificSystemError<System::OutOfDiskSpace_t>>(code, message);
        case kErrorElevationRequired:
            return std::make_shared<SpecificSystemError<System::ElevationRequired_t>>(code, message);
        case ERROR_CANCELLED:
            return std::make_shared<SpecificSystemError<System::Cancelled_t>>(code, message);
        default:
            return std::make_shared<SystemError>(code, message);
    }
}

std::shared_ptr<SystemError> makeLastSystemError()
{
    const int code = static_cast<int>(::GetLastError());
    return makeSystemError(code, "");
}

}  // namespace Err
