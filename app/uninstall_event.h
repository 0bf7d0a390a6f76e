// The named event of an uninstall: it refuses a second uninstall of the same game folder while the
// first one runs, and the game center sets it to end the client's wait.
#pragma once

#include <windows.h>

#include <string>

#include "discovery/descriptor_trust.h"
#include "libraries/system/win32/unique_resource.h"

namespace ZGC {

struct UninstallEvent {
    System::Win32::UniqueHandle handle;  // the event this uninstall made; empty when it made none
    bool anotherUninstall = false;       // the name is held by an event a trusted account made
};

// A manual-reset event of that name, initially not set, that only the token user, Administrators and
// LocalSystem may open, owned by Administrators with administrator rights (as their objects are) and by
// the token user otherwise. An event that exists already means another uninstall only when its owner is
// trusted: one anyone else made (or a name taken by another kind of object) is left alone, and the
// uninstall then waits for the game center's end alone.
UninstallEvent CreateUninstallEvent(const std::wstring& name, bool administratorRights,
                                    const Discovery::TrustedSids& trusted);

}  // namespace ZGC
