#include "log/debugger_sink.h"

#include <windows.h>

namespace Log {

std::wstring debuggerLine(const Record& record)
{
    std::wstring line;
    if (const char* file = record.location.file) {
        // Source paths are ASCII.
        for (; *file; ++file)
            line += static_cast<wchar_t>(static_cast<unsigned char>(*file));
    }
    line += L"(" + std::to_wstring(record.location.line) + L"): [" + std::to_wstring(record.location.processId) + L":" +
            std::to_wstring(record.location.threadId) + L"] " + std::to_wstring(record.level) + L": " + record.text +
            L"\n";
    return line;
}

void DebuggerSink::deliver(const Record& record)
{
    ::OutputDebugStringW(debuggerLine(record).c_str());
}

}  // namespace Log
