#include "host_process.h"

#include <filesystem>
#include <fstream>

#include "support/standard_user_launch.h"
#include "support/test_paths.h"

namespace UiTest {

namespace {

std::wstring HostPath()
{
    return TestSupport::BuildDir() + L"\\bin\\notification_host.exe";
}

System::Win32::UniqueHandle KillOnCloseJob()
{
    System::Win32::UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job)
        ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

}  // namespace

HostProcess::HostProcess(const std::wstring& arguments, HostRights rights) : m_job(KillOnCloseJob())
{
    static int started = 0;
    m_outcomePath = TestSupport::ScratchDir() + L"\\ui_host_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                    std::to_wstring(++started) + L".txt";
    ::DeleteFileW(m_outcomePath.c_str());
    ::SetEnvironmentVariableW(L"TGC_HOST_RESULT", m_outcomePath.c_str());

    std::wstring commandLine = L"\"" + HostPath() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!m_job)
        return;
    const bool created = rights == HostRights::StandardUser
                             ? TestSupport::StartAsStandardUser(commandLine, CREATE_SUSPENDED, info)
                             : ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                                nullptr, nullptr, &startup, &info) != FALSE;
    if (!created)
        return;
    System::Win32::UniqueHandle thread(info.hThread);
    m_process.reset(info.hProcess);
    m_processId = info.dwProcessId;
    m_threadId = info.dwThreadId;
    if (!::AssignProcessToJobObject(m_job.get(), m_process.get())) {
        ::TerminateProcess(m_process.get(), 1);
        m_process.reset();
        return;
    }
    ::ResumeThread(thread.get());
}

HostProcess::~HostProcess()
{
    if (m_job)
        ::TerminateJobObject(m_job.get(), 1);
    ::DeleteFileW(m_outcomePath.c_str());
}

bool HostProcess::WaitForExit(DWORD timeoutMs)
{
    return m_process && ::WaitForSingleObject(m_process.get(), timeoutMs) == WAIT_OBJECT_0;
}

bool HostProcess::Running()
{
    return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

bool HostProcess::WaitUntilJobIsEmpty(DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (!::QueryInformationJobObject(m_job.get(), JobObjectBasicAccountingInformation, &accounting,
                                         sizeof(accounting), nullptr))
            return false;
        if (accounting.ActiveProcesses == 0)
            return true;
        if (::GetTickCount64() >= deadline)
            return false;
        ::Sleep(20);
    }
}

unsigned long HostProcess::ProcessesEverStarted()
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!m_job || !::QueryInformationJobObject(m_job.get(), JobObjectBasicAccountingInformation, &accounting,
                                               sizeof(accounting), nullptr))
        return 0;
    return accounting.TotalProcesses;
}

std::map<std::string, std::string> HostProcess::Outcome() const
{
    std::map<std::string, std::string> outcome;
    std::ifstream file{std::filesystem::path(m_outcomePath)};
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            outcome[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return outcome;
}

}  // namespace UiTest
