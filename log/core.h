// A logging core: a bounded queue of records delivered to sinks on flush(). The client installs none;
// tests and diagnostics builds do.
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "log/errors.h"
#include "log/levels.h"
#include "log/source_location.h"

namespace Log {

class Logger;

struct Record {
    int level;
    SourceLocation location;
    std::wstring text;
};

class Sink {
public:
    virtual ~Sink() = default;
    // May throw; the core then turns itself off and reports to its error handler.
    virtual void deliver(const Record& record) = 0;
};

using ErrorHandler = std::function<void(const Errors::Base&)>;

inline constexpr int kOverflowLevel = kWarningLevel;
inline constexpr wchar_t kOverflowText[] = L"Log buffer overflow: some messages may be lost!";
inline constexpr int kLoggerCreatedLevel = 1;
inline constexpr wchar_t kLoggerCreatedFormat[] = L"Logger created (%0)";
inline constexpr wchar_t kDefaultLoggerName[] = L"default";

class Core : public std::enable_shared_from_this<Core> {
public:
    static constexpr std::size_t kDefaultCapacity = 1024;

    // The capacity counts the overflow record, so it is at least 2.
    explicit Core(std::size_t capacity = kDefaultCapacity, int threshold = 0);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    int threshold() const { return threshold_; }
    void setThreshold(int level) { threshold_ = level; }
    std::size_t capacity() const { return capacity_; }

    void addSink(std::shared_ptr<Sink> sink);
    void setErrorHandler(ErrorHandler handler);

    // Queues a record. With one free place left the overflow notice is queued instead; when full, dropped.
    void push(Record record);

    // Delivers the queued records in order. A failing sink disables the core; the records not yet
    // delivered are discarded and the failure goes to the error handler.
    void flush();

    std::size_t queuedCount() const;

    // A new logger attached to this core; the core must be held by a shared_ptr.
    std::shared_ptr<Logger> createLogger(std::wstring name);

private:
    void reportFailure(const Errors::Base& failure);

    const std::size_t capacity_;
    std::atomic<bool> enabled_{true};
    std::atomic<int> threshold_;

    mutable std::mutex queueMutex_;
    std::deque<Record> queue_;

    // Held while delivering, so records reach the sinks in queue order.
    std::mutex deliveryMutex_;
    std::vector<std::shared_ptr<Sink>> sinks_;
    ErrorHandler errorHandler_;
};

// The process-wide core; installing one (or none) also resets the process logger.
void installCore(std::shared_ptr<Core> core);
std::shared_ptr<Core> installedCore();

}  // namespace Log
