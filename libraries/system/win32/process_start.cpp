#include "libraries/system/win32/process_start.h"

namespace System::Win32 {

ProcessStart StartProcess(const std::wstring& path, std::wstring commandLine, DWORD creationFlags,
                          const std::wstring& workingFolder)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Null standard handles, named as such: without them the system may hand the child copies of
    // ours (Wine does, though nothing is inherited), and a launcher reading our output would then
    // wait for the child as well.
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION started{};
    // An empty folder would make CreateProcessW fail; without one the child simply inherits ours.
    const wchar_t* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();
    ProcessStart result;
    if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, folder,
                          &startup, &started)) {
        result.error = ::GetLastError();
        return result;
    }
    const UniqueHandle thread(started.hThread);  // nobody needs the first thread
    result.process.reset(started.hProcess);
    return result;
}

}  // namespace System::Win32
