// The error category of the Err family: core values 16000..16014 and Win32 codes grouped into conditions.
#pragma once

#include <string>
#include <system_error>

namespace Err::details {

class ErrCategory : public std::error_category {
public:
    const char* name() const noexcept override;
    std::string message(int value) const override;
    std::error_condition default_error_condition(int value) const noexcept override;
    bool equivalent(const std::error_code& code, int condition) const noexcept override;
    using std::error_category::equivalent;
};

// The one instance, created on first use.
const ErrCategory& errCategory();

// Core values of the category.
inline constexpr int kUnknownError = 16000;
inline constexpr int kGenericError = 16001;  // the code every Err::Error carries; its message is empty

// Conditions of the category that several codes map to.
inline constexpr int kConditionAccessDenied = 1;
inline constexpr int kConditionOutOfDiskSpace = 2;
inline constexpr int kConditionInputOutput = 4;
inline constexpr int kConditionNotFound = 5;
inline constexpr int kConditionInvalidArgument = 6;
inline constexpr int kConditionNotEnoughSpace = 7;

}  // namespace Err::details
