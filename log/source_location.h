// Where and when a log call or a logged throw happened.
#pragma once

#include <cstdint>

namespace Log {

struct SourceLocation {
    const char* file;
    std::int32_t line;
    std::int64_t time;  // system time, 100 ns ticks since 1970-01-01 UTC
    std::uint32_t processId;
    std::uint32_t threadId;
};

// Fills time and thread id now; the process id is the one read at start-up.
SourceLocation currentLocation(const char* file, int line);

// The process id read during static initialisation.
std::uint32_t startupProcessId();

}  // namespace Log

#define LOG_LOCATION() ::Log::currentLocation(__FILE__, __LINE__)
