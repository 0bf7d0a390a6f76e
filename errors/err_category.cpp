#include "errors/err_category.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <utility>

#include "errors/system_message.h"

namespace Err::details {

namespace {

struct CoreValue {
    int value;
    const char* message;
    int condition;  // 0: the value itself, in the system category
};

constexpr std::array<CoreValue, 14> kCoreValues{{
    {16000, "unknown error", 0},
    {16001, "", 0},
    {16002, "access denied", kConditionAccessDenied},
    {16003, "no space on device", kConditionOutOfDiskSpace},
    {16004, "no such file or directory", kConditionNotFound},
    {16005, "invalid argument", kConditionInvalidArgument},
    {16006, "not enough space", kConditionNotEnoughSpace},
    {16007, "missing library", 0},
    {16009, "unable prepare update dir", 0},
    {16010, "input-output error", kConditionInputOutput},
    {16011, "wrong protocol", kConditionInputOutput},
    {16012, "XML parsing failed", kConditionInputOutput},
    {16013, "JSON parsing failed", kConditionInputOutput},
    {16014, "already running", 0},
}};

// Win32 codes that mean the same as a core condition.
constexpr std::array<std::pair<int, int>, 20> kWin32Conditions{{
    {ERROR_ACCESS_DENIED, kConditionAccessDenied},
    {ERROR_LOCK_VIOLATION, kConditionAccessDenied},
    {ERROR_NETWORK_ACCESS_DENIED, kConditionAccessDenied},
    {ERROR_FAIL_I24, kConditionAccessDenied},
    {ERROR_DRIVE_LOCKED, kConditionAccessDenied},
    {ERROR_SEEK_ON_DEVICE, kConditionAccessDenied},
    {ERROR_NOT_LOCKED, kConditionAccessDenied},
    {ERROR_LOCK_FAILED, kConditionAccessDenied},
    {ERROR_DISK_FULL, kConditionOutOfDiskSpace},
    {ERROR_FILE_NOT_FOUND, kConditionNotFound},
    {ERROR_PATH_NOT_FOUND, kConditionNotFound},
    {ERROR_INVALID_DRIVE, kConditionNotFound},
    {ERROR_BAD_NETPATH, kConditionNotFound},
    {ERROR_BAD_NET_NAME, kConditionNotFound},
    {ERROR_BAD_PATHNAME, kConditionNotFound},
    {ERROR_FILENAME_EXCED_RANGE, kConditionNotFound},
    {ERROR_INVALID_HANDLE, kConditionInvalidArgument},
    {ERROR_INVALID_DATA, kConditionInvalidArgument},
    {ERROR_INVALID_PARAMETER, kConditionInvalidArgument},
    {ERROR_NOT_ENOUGH_MEMORY, kConditionNotEnoughSpace},
}};

const CoreValue* findCoreValue(int value)
{
    const auto it = std::find_if(kCoreValues.begin(), kCoreValues.end(),
                                 [value](const CoreValue& entry) { return entry.value == value; });
    return it == kCoreValues.end() ? nullptr : &*it;
}

// The condition number in this category, or 0 when the value has none.
int conditionOf(int value)
{
    if (value >= kUnknownError) {
        const CoreValue* entry = findCoreValue(value);
        return entry ? entry->condition : 0;
    }
    const auto it = std::find_if(kWin32Conditions.begin(), kWin32Conditions.end(),
                                 [value](const auto& entry) { return entry.first == value; });
    return it == kWin32Conditions.end() ? 0 : it->second;
}

}  // namespace

const char* ErrCategory::name() const noexcept
{
    return "Error.Error.Category";
}

std::string ErrCategory::message(int value) const
{
    if (value < kUnknownError)
        return systemMessage(value);
    const CoreValue* entry = findCoreValue(value);
    return entry ? entry->message : "unknown core error";
}

std::error_condition ErrCategory::default_error_condition(int value) const noexcept
{
    const int condition = conditionOf(value);
    if (condition != 0)
        return std::error_condition(condition, *this);
    return std::error_condition(value, std::system_category());
}

bool ErrCategory::equivalent(const std::error_code& code, int condition) const noexcept
{
    return code.category() == *this && default_error_condition(code.value()).value() == condition;
}

const ErrCategory& errCategory()
{
    static const ErrCategory category;
    return category;
}

}  // namespace Err::details
