// The log a run keeps when "--log FILE" asks for one: a logging core with the file's sink, installed for
// the run and flushed at its end. Without the switch, or when the file is refused, nothing is installed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "errors/result_codes.h"

namespace Log {
class Core;
}

namespace ZGC {

class RunLog {
public:
    // Opens the file and notes the client's version and command line in it.
    RunLog(const std::optional<std::wstring>& file, const std::vector<std::wstring>& arguments);
    // Writes what is still queued and takes the core away again.
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    void operationEnded(ResultCode result) const;

private:
    std::shared_ptr<Log::Core> core_;
};

// Writes what the run's log holds so far: before a wait without end, the log shows how it got there.
void FlushRunLog();

}  // namespace ZGC
