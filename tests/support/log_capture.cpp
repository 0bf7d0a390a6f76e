#include "support/log_capture.h"

#include <mutex>

#include "log/core.h"

class LogCapture::MemorySink : public Log::Sink {
public:
    void deliver(const Log::Record& record) override
    {
        std::lock_guard lock(mutex_);
        records_.push_back(CapturedRecord{record.level, record.text, record.location});
    }

    std::vector<CapturedRecord> records()
    {
        std::lock_guard lock(mutex_);
        return records_;
    }

private:
    std::mutex mutex_;
    std::vector<CapturedRecord> records_;
};

LogCapture::LogCapture(int threshold)
    : sink_(std::make_shared<MemorySink>()),
      core_(std::make_shared<Log::Core>(Log::Core::kDefaultCapacity, threshold)),
      previous_(Log::installedCore())
{
    core_->addSink(sink_);
    Log::installCore(core_);
}

LogCapture::~LogCapture()
{
    Log::installCore(previous_);
}

std::vector<CapturedRecord> LogCapture::records()
{
    core_->flush();
    return sink_->records();
}

std::vector<CapturedRecord> LogCapture::records(int level)
{
    std::vector<CapturedRecord> matching;
    for (CapturedRecord& record : records()) {
        if (record.level == level)
            matching.push_back(std::move(record));
    }
    return matching;
}
