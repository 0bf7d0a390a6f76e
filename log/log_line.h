// One line to the process logger, when there is one: the call sites that only report what a run did.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "log/logger.h"

namespace Log {

inline void line(int level, const SourceLocation& location, std::wstring_view format,
                 std::vector<std::wstring> args = {}) noexcept
{
    if (const auto logger = getLogger())
        logger->log(level, location, format, std::move(args));
}

// "0x" and eight upper-case hex digits: how result codes and access masks are written in the log.
std::wstring hex32(unsigned long value);

}  // namespace Log
