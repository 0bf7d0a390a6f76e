#include "log/source_location.h"

#include <windows.h>

namespace Log {

namespace {

// Read once before wWinMain; kept in this unit so every user of currentLocation links it in.
const std::uint32_t g_processId = ::GetCurrentProcessId();

// FILETIME counts from 1601-01-01; log times count from 1970-01-01.
constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000LL;

std::int64_t systemTimeSince1970()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const std::int64_t ticks =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    return ticks - kTicksFrom1601To1970;
}

}  // namespace

SourceLocation currentLocation(const char* file, int line)
{
    return SourceLocation{file, line, systemTimeSince1970(), g_processId, ::GetCurrentThreadId()};
}

std::uint32_t startupProcessId()
{
    return g_processId;
}

}  // namespace Log
