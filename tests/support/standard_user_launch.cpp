#include "support/standard_user_launch.h"

namespace TestSupport {

System::Win32::UniqueHandle StandardUserToken()
{
    System::Win32::UniqueHandle own;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY, own.put())) {
        static_cast<void>(own.release());
        return {};
    }
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size))
        return {};
    SID_AND_ATTRIBUTES denyOnly{administrators, 0};
    System::Win32::UniqueHandle restricted;
    if (!::CreateRestrictedToken(own.get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, restricted.put())) {
        static_cast<void>(restricted.release());
        return {};
    }
    return restricted;
}

bool StartAsStandardUser(std::wstring commandLine, DWORD flags, PROCESS_INFORMATION& started)
{
    const System::Win32::UniqueHandle token = StandardUserToken();
    if (!token)
        return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessAsUserW(token.get(), nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                                  nullptr, &startup, &started) != FALSE;
}

StandardUserThread::StandardUserThread()
{
    const System::Win32::UniqueHandle primary = StandardUserToken();
    System::Win32::UniqueHandle impersonation;
    if (!primary || !::DuplicateToken(primary.get(), SecurityImpersonation, impersonation.put())) {
        static_cast<void>(impersonation.release());
        return;
    }
    m_applied = ::SetThreadToken(nullptr, impersonation.get()) != FALSE;
}

StandardUserThread::~StandardUserThread()
{
    if (m_applied)
        ::RevertToSelf();
}

}  // namespace TestSupport
