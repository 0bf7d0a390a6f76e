// The logging facade. With no core installed, getLogger() is empty and nothing is formatted or written.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "log/levels.h"
#include "log/source_location.h"

namespace Log {

class Core;

class Logger {
public:
    // A logger attached to a core announces itself there.
    Logger(std::wstring name, std::shared_ptr<Core> core);

    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    const std::wstring& name() const { return name_; }

    // True when attached to a core that is enabled and whose threshold the level reaches.
    bool isEnabled(int level) const;

    // Formats and queues a record on the core; never throws.
    void log(int level, const SourceLocation& location, std::wstring_view format,
             std::vector<std::wstring> args = {}) noexcept;

private:
    std::mutex mutex_;
    const std::wstring name_;
    const std::shared_ptr<Core> core_;
};

// The process-wide logger: the installed core's default logger, or empty when no core is installed.
std::shared_ptr<Logger> getLogger();

// Makes the next getLogger() take the logger from the core installed then.
void resetLogger();

// Whether the installed core would take a record of this level.
bool isEnabled(int level);

namespace details {
void logErrorText(const std::shared_ptr<Logger>& logger, const char* text, const SourceLocation& location) noexcept;
}

// Logs what() of the error at kErrorLevel, then hands the error back: `throw Log::loggedThrow(logger, error, loc);`
template <class E>
const E& loggedThrow(const std::shared_ptr<Logger>& logger, const E& error, const SourceLocation& location)
{
    if (logger)
        details::logErrorText(logger, error.what(), location);
    return error;
}

}  // namespace Log
