// What the launcher client asks of the system beyond discovery: starting processes, reading its job's
// limits, and showing windows. Tests replace single members to reach paths the test machine cannot
// produce (an elevation demand, a job that allows breakaway) or to see windows without a display.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "libraries/system/win32/unique_resource.h"

namespace ZGC {

struct ClientServices {
    std::function<bool(const std::wstring& argumentText, DWORD& startError)> launchProcess;
    std::function<void(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters, const wchar_t* directory,
                       int showCommand, System::Win32::UniqueHandle& process)>
        shellExecuteRunAs;
    std::function<std::optional<DWORD>()> jobLimitFlags;
    std::function<void(std::int32_t code)> showNotification;
    std::function<void()> showOutdatedNotification;
    std::function<void(const std::wstring& message)> showStartFailure;
};

// The real ones.
ClientServices SystemClientServices();

}  // namespace ZGC
