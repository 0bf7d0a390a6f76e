#include "libraries/system/win32/com_scope.h"

#include <objbase.h>

#include <string>

#include "log/logger.h"

namespace System::Win32 {

ComScope::ComScope()
    : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)),
      threadId_(::GetCurrentThreadId())
{
    if (SUCCEEDED(result_))
        return;
    try {
        if (const auto logger = Log::getLogger()) {
            logger->log(Log::kWarningLevel, LOG_LOCATION(), L"Failed to initilize COM for thread %1: %2",
                        {std::to_wstring(threadId_), std::to_wstring(static_cast<long>(result_))});
        }
    } catch (...) {
        // Logging must not turn a COM failure into an exception.
    }
}

ComScope::~ComScope()
{
    if (FAILED(result_))
        return;
    // COM belongs to the thread that initialised it; uninitialising elsewhere would unbalance that thread.
    if (::GetCurrentThreadId() == threadId_) {
        ::CoUninitialize();
        return;
    }
    try {
        if (const auto logger = Log::getLogger())
            logger->log(Log::kErrorLevel, LOG_LOCATION(), L"Can't perform COM deinitialization from other thread");
    } catch (...) {
        // A destructor never throws.
    }
}

}  // namespace System::Win32
