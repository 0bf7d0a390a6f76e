// Times how long a program takes from its start until the stand-in game center is running.
#pragma once

#include <string>
#include <vector>

namespace Bench {

struct TimedStart {
    double milliseconds = 0;                // CreateProcessW called .. game center signalled its event
    unsigned long long peakWorkingSet = 0;  // of the started program, in bytes
    unsigned long exitCode = 0;
};

// Starts `commandLine` (the first token being `program`) and waits at most `timeoutMs` for the
// game center, told by the inherited environment, to set the named event. Returns false on time-out.
// With sampleWorkingSet the started program's memory is sampled until it ends (slower; not for timing).
bool TimeStart(const std::wstring& program, const std::wstring& commandLine, unsigned long timeoutMs,
               bool sampleWorkingSet, TimedStart& result, std::wstring& error);

struct Spread {
    double median = 0, p25 = 0, p75 = 0, min = 0, max = 0;
};
Spread Summarise(std::vector<double> values);

}  // namespace Bench
