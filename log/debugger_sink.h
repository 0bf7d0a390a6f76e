// A sink that writes each record as one line to the debugger output.
#pragma once

#include <string>

#include "log/core.h"

namespace Log {

// "<file>(<line>): [<pid>:<tid>] <level>: <text>" followed by a line break.
std::wstring debuggerLine(const Record& record);

class DebuggerSink : public Sink {
public:
    void deliver(const Record& record) override;
};

}  // namespace Log
