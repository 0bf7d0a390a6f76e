// What this process's token may do: whether it holds administrator rights, and whose it is.
#pragma once

#include <windows.h>

#include <vector>

namespace System::Win32 {

// True when the token holds the Administrators group enabled: an elevated administrator, or LocalSystem.
// A standard user, and an administrator whose token is filtered (not elevated), get false.
bool TokenHasAdministratorRights();

// The token user's SID as bytes; empty when the token cannot be read.
std::vector<BYTE> TokenUserSid();

}  // namespace System::Win32
