#include "app/run_log.h"

#include "app/resources/version.h"
#include "libraries/system/win32/log_file_sink.h"
#include "log/core.h"
#include "log/log_line.h"

namespace ZGC {

RunLog::RunLog(const std::optional<std::wstring>& file, const std::vector<std::wstring>& arguments)
{
    if (!file)
        return;
    const std::shared_ptr<System::Win32::LogFileSink> sink = System::Win32::MakeLogFileSink(*file);
    if (!sink)
        return;  // refused: there is no one to tell, and nothing else changes
    core_ = std::make_shared<Log::Core>(Log::Core::kDefaultCapacity, Log::kInfoLevel);
    core_->addSink(sink);
    Log::installCore(core_);
    std::wstring commandLine;
    for (const std::wstring& argument : arguments)
        commandLine += (commandLine.empty() ? L"[" : L" [") + argument + L"]";
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Client %1, command line: %2",
              {L"" TGC_CLIENT_VERSION_TEXT, commandLine});
}

RunLog::~RunLog()
{
    if (!core_)
        return;
    core_->flush();
    Log::installCore(nullptr);
}

void RunLog::operationEnded(ResultCode result) const
{
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Operation result %1",
              {Log::hex32(static_cast<unsigned long>(result))});
}

void FlushRunLog()
{
    if (const std::shared_ptr<Log::Core> core = Log::installedCore())
        core->flush();
}

}  // namespace ZGC
