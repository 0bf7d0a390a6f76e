#include "app/uninstall_event.h"

namespace ZGC {

UninstallEvent CreateUninstallEvent(const std::wstring& name)
{
    UninstallEvent created;
    created.handle.reset(::CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
    created.error = ::GetLastError();
    return created;
}

}  // namespace ZGC
