#include "log/core.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "log/logger.h"

namespace Log {

namespace {

std::mutex& coreMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<Core>& coreHolder()
{
    static std::shared_ptr<Core> core;
    return core;
}

}  // namespace

Core::Core(std::size_t capacity, int threshold) : capacity_(std::max<std::size_t>(capacity, 2)), threshold_(threshold)
{
}

void Core::addSink(std::shared_ptr<Sink> sink)
{
    std::lock_guard lock(deliveryMutex_);
    sinks_.push_back(std::move(sink));
}

void Core::setErrorHandler(ErrorHandler handler)
{
    std::lock_guard lock(deliveryMutex_);
    errorHandler_ = std::move(handler);
}

void Core::push(Record record)
{
    std::lock_guard lock(queueMutex_);
    const std::size_t used = queue_.size();
    if (used >= capacity_)
        return;
    if (used + 1 == capacity_) {
        // The last place tells the reader that records are missing from here on.
        queue_.push_back(Record{kOverflowLevel, record.location, kOverflowText});
        return;
    }
    queue_.push_back(std::move(record));
}

void Core::flush()
{
    std::lock_guard delivery(deliveryMutex_);
    std::deque<Record> pending;
    {
        std::lock_guard lock(queueMutex_);
        pending.swap(queue_);
    }
    try {
        for (const Record& record : pending) {
            for (const auto& sink : sinks_)
                sink->deliver(record);
        }
    } catch (const Errors::Base& failure) {
        reportFailure(failure);
    } catch (const std::exception& failure) {
        reportFailure(Errors::Failed(failure.what()));
    } catch (...) {
        reportFailure(Errors::Failed("Unknown exception"));
    }
}

void Core::reportFailure(const Errors::Base& failure)
{
    enabled_ = false;
    if (!errorHandler_)
        return;
    try {
        errorHandler_(failure);
    } catch (...) {
        // Nothing in logging reports to the code that logged.
    }
}

std::size_t Core::queuedCount() const
{
    std::lock_guard lock(queueMutex_);
    return queue_.size();
}

std::shared_ptr<Logger> Core::createLogger(std::wstring name)
{
    return std::make_shared<Logger>(std::move(name), shared_from_this());
}

void installCore(std::shared_ptr<Core> core)
{
    {
        std::lock_guard lock(coreMutex());
        coreHolder().swap(core);
    }
    resetLogger();
    // The previous core, if any, is released here, outside the lock.
}

std::shared_ptr<Core> installedCore()
{
    std::lock_guard lock(coreMutex());
    return coreHolder();
}

}  // namespace Log
