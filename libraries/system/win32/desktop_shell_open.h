// Opening something as the desktop's own user: the session's shell process (the one that shows the
// desktop) runs the "open" verb itself, so what starts gets the shell's token and reads the user's
// own file associations, whatever rights the caller has.
#pragma once

#include <windows.h>

namespace System::Win32 {

// Asks the desktop shell to open `target` with SW_SHOWNORMAL. S_OK once the shell has taken the
// request; a failure when the session has no desktop shell (a service's session, LocalSystem, the
// shell not running) or it refused. Needs COM on the calling thread (a single-threaded apartment).
HRESULT OpenThroughDesktopShell(const wchar_t* target);

}  // namespace System::Win32
