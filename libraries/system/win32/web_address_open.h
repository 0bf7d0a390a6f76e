// Opening a web address in the user's browser, never with administrator rights: an elevated process
// (an installer's, LocalSystem) hands the address to the desktop's shell, which opens it as the user;
// a process without those rights opens it itself, as the shell's "open" verb.
#pragma once

#include <windows.h>

namespace System::Win32 {

// The decisions and the two ways of opening, replaceable for tests.
struct WebAddressOpeners {
    bool (*hasAdministratorRights)();
    bool (*openAsDesktopUser)(const wchar_t* address);  // through the desktop's shell process
    bool (*openHere)(const wchar_t* address);           // ShellExecuteW "open" in this process
};

const WebAddressOpeners& SystemWebAddressOpeners();

// True when the address was handed to a browser. With administrator rights only the desktop user's
// way is tried: where the session has no desktop shell nothing is opened and the answer is false.
bool OpenWebAddress(const wchar_t* address, const WebAddressOpeners& openers = SystemWebAddressOpeners());

}  // namespace System::Win32
