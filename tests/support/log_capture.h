// Records what the code under test logs: installs a logging core with a memory sink for its lifetime.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "log/source_location.h"

namespace Log {
class Core;
}

struct CapturedRecord {
    int level;
    std::wstring text;
    Log::SourceLocation location;
};

class LogCapture {
public:
    // Captures levels from `threshold` up; the default leaves out the core's own "Logger created" note.
    explicit LogCapture(int threshold = 2);
    ~LogCapture();

    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Everything logged since construction, in order (delivers what is queued first).
    std::vector<CapturedRecord> records();

    // Only the records of one level.
    std::vector<CapturedRecord> records(int level);

    Log::Core& core() { return *core_; }

private:
    class MemorySink;

    std::shared_ptr<MemorySink> sink_;
    std::shared_ptr<Log::Core> core_;
    std::shared_ptr<Log::Core> previous_;
};
