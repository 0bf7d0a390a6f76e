#include "libraries/system/win32/web_address_open.h"

#include <shellapi.h>

#include "libraries/system/win32/com_scope.h"
#include "libraries/system/win32/desktop_shell_open.h"
#include "libraries/system/win32/token_rights.h"

namespace System::Win32 {

namespace {

// ShellExecuteW answers with a value above 32 when it started something.
constexpr INT_PTR kLastShellExecuteError = SE_ERR_DLLNOTFOUND;

bool OpenAsDesktopUser(const wchar_t* address)
{
    const ComScope com;  // the dialog's thread usually has an apartment already: then this only counts
    return SUCCEEDED(OpenThroughDesktopShell(address));
}

bool OpenHere(const wchar_t* address)
{
    const auto instance = ::ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(instance) > kLastShellExecuteError;
}

}  // namespace

const WebAddressOpeners& SystemWebAddressOpeners()
{
    static const WebAddressOpeners openers{&TokenHasAdministratorRights, &OpenAsDesktopUser, &OpenHere};
    return openers;
}

bool OpenWebAddress(const wchar_t* address, const WebAddressOpeners& openers)
{
    if (address == nullptr)
        return false;
    // Elevated, the shell's open would start the browser with this token, and would look the handler up
    // in classes that the user's unelevated programs may write: never fall back to it.
    if (openers.hasAdministratorRights())
        return openers.openAsDesktopUser(address);
    return openers.openHere(address);
}

}  // namespace System::Win32
