#include "log/logger.h"

#include <utility>

#include "errors/utf8.h"
#include "log/core.h"
#include "log/format.h"

namespace Log {

namespace {

struct LoggerHolder {
    std::mutex mutex;
    bool filled = false;
    std::shared_ptr<Logger> logger;
};

LoggerHolder& loggerHolder()
{
    static LoggerHolder holder;
    return holder;
}

}  // namespace

Logger::Logger(std::wstring name, std::shared_ptr<Core> core) : name_(std::move(name)), core_(std::move(core))
{
    if (core_)
        log(kLoggerCreatedLevel, LOG_LOCATION(), kLoggerCreatedFormat, {name_});
}

bool Logger::isEnabled(int level) const
{
    return core_ && core_->isEnabled() && level >= core_->threshold();
}

void Logger::log(int level, const SourceLocation& location, std::wstring_view format,
                 std::vector<std::wstring> args) noexcept
{
    try {
        if (!isEnabled(level))
            return;
        std::lock_guard lock(mutex_);
        if (core_)
            core_->push(Record{level, location, formatMessage(format, args)});
    } catch (...) {
        // A log call never fails its caller.
    }
}

std::shared_ptr<Logger> getLogger()
{
    LoggerHolder& holder = loggerHolder();
    std::shared_ptr<Core> core;
    {
        std::lock_guard lock(holder.mutex);
        if (holder.filled)
            return holder.logger;
    }
    // Created outside the holder's lock: a new logger logs through its core.
    core = installedCore();
    std::shared_ptr<Logger> logger = core ? core->createLogger(kDefaultLoggerName) : nullptr;
    std::lock_guard lock(holder.mutex);
    if (!holder.filled) {
        holder.logger = std::move(logger);
        holder.filled = true;
    }
    return holder.logger;
}

void resetLogger()
{
    LoggerHolder& holder = loggerHolder();
    std::shared_ptr<Logger> previous;
    std::lock_guard lock(holder.mutex);
    previous.swap(holder.logger);
    holder.filled = false;
}

bool isEnabled(int level)
{
    const std::shared_ptr<Core> core = installedCore();
    return core && core->isEnabled() && level >= core->threshold();
}

namespace details {

void logErrorText(const std::shared_ptr<Logger>& logger, const char* text, const SourceLocation& location) noexcept
{
    try {
        if (logger && logger->isEnabled(kErrorLevel))
            logger->log(kErrorLevel, location, Text::Utf8ToWide(text ? text : ""));
    } catch (...) {
        // Logging a throw must not replace the error being thrown.
    }
}

}  // namespace details

}  // namespace Log
