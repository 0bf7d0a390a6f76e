#include "support/process_runner.h"

#include <atomic>
#include <stdexcept>

#include "support/standard_user_launch.h"
#include "support/test_paths.h"

namespace TestSupport {

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const std::wstring& name, const std::wstring& value) : name_(name)
{
    const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size > 0) {
        std::wstring previous(size, L'\0');
        previous.resize(GetEnvironmentVariableW(name.c_str(), previous.data(), size));
        previous_ = previous;
    }
    SetEnvironmentVariableW(name.c_str(), value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    SetEnvironmentVariableW(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

using System::Win32::UniqueHandle;

ChildProcess::ChildProcess(const std::wstring& application, const std::wstring& commandLine,
                           const ChildOptions& options)
{
    std::wstring writable = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (options.output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = options.output;
    }
    PROCESS_INFORMATION started{};
    const BOOL inherit = options.output != nullptr;
    const DWORD flags = options.job ? CREATE_SUSPENDED : 0;
    const BOOL created = options.standardUser ? CreateProcessAsUserW(StandardUserToken().get(), application.c_str(),
                                                                     writable.data(), nullptr, nullptr, inherit, flags,
                                                                     nullptr, nullptr, &startup, &started)
                                              : CreateProcessW(application.c_str(), writable.data(), nullptr, nullptr,
                                                               inherit, flags, nullptr, nullptr, &startup, &started);
    if (!created)
        throw std::runtime_error("CreateProcessW failed with " + std::to_string(GetLastError()));
    process_.reset(started.hProcess);
    System::Win32::UniqueHandle thread(started.hThread);
    processId_ = started.dwProcessId;
    if (options.job) {
        if (!AssignProcessToJobObject(options.job, process_.get())) {
            const DWORD error = GetLastError();
            TerminateProcess(process_.get(), 0xDEAD);
            throw std::runtime_error("AssignProcessToJobObject failed with " + std::to_string(error));
        }
        ResumeThread(thread.get());
    }
}

ChildProcess::~ChildProcess()
{
    if (running()) {
        TerminateProcess(process_.get(), 0xDEAD);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool ChildProcess::waitForExit(DWORD timeoutMs) const
{
    return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::exitCode() const
{
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

System::Win32::UniqueHandle NewJob(DWORD limitFlags)
{
    System::Win32::UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = limitFlags;
    if (!job || !SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return {};
    return job;
}

std::optional<DWORD> RunClient(const std::wstring& arguments, DWORD timeoutMs, const std::wstring& executable)
{
    const std::wstring program = executable.empty() ? ClientExePath() : executable;
    ChildOptions options;
    options.standardUser = true;
    ChildProcess client(program, L"\"" + program + L"\" " + arguments, options);
    if (!client.waitForExit(timeoutMs))
        return std::nullopt;
    return client.exitCode();
}

std::vector<GameCenterRecord> WaitForGameCenterRecords(const std::wstring& logPath, std::size_t count, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        auto records = ReadGameCenterRecords(logPath);
        if (records.size() >= count || GetTickCount64() >= deadline)
            return records;
        Sleep(20);
    }
}

bool ProcessIsRunning(DWORD processId)
{
    const System::Win32::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

void TerminateProcessById(DWORD processId)
{
    const System::Win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.get(), 0xDEAD);
        WaitForSingleObject(process.get(), 5000);
    }
}

std::wstring UniqueScratchPath(const std::wstring& stem, const std::wstring& extension)
{
    static std::atomic<unsigned> counter{0};
    return ScratchDir() + L"\\" + stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L"." + extension;
}

}  // namespace TestSupport
