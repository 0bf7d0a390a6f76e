// The sink of a log asked for on the command line: UTF-8 lines appended to one file that the run opens
// only as a plain file of its own name, never through a link.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

#include "libraries/system/win32/unique_resource.h"
#include "log/core.h"

namespace System::Win32 {

// A line holds at most this many bytes, its line break included; longer texts are cut.
inline constexpr std::size_t kLogLineLimit = 4096;
// Once the file holds this many bytes nothing more is appended, by this run or a later one.
inline constexpr unsigned long long kLogFileLimit = 1024 * 1024;

// Opens (or creates) `path` for appending. Empty when it cannot be opened, or when what is there is a link
// (reparse point), not a disk file, a file with more than one name (a hard link), or reached through a link
// on its last step: a log must not write into a file someone else pointed it at.
UniqueFile OpenLogFile(const std::wstring& path);

// "<UTC time> <level> <text>" cut to `limit` bytes at a character boundary, ending in CR LF; line breaks
// inside the text become blanks so one record stays one line.
std::string LogFileLine(const Log::Record& record, std::size_t limit = kLogLineLimit);

class LogFileSink : public Log::Sink {
public:
    explicit LogFileSink(UniqueFile file) : file_(std::move(file)) {}
    // Appends one line unless the file is full; a failed write stops the sink (it throws, the core turns off).
    void deliver(const Log::Record& record) override;

private:
    UniqueFile file_;
};

// The log file sink for `path`, or null when OpenLogFile refuses it.
std::shared_ptr<LogFileSink> MakeLogFileSink(const std::wstring& path);

}  // namespace System::Win32
