#include "libraries/system/win32/token_rights.h"

#include "libraries/system/win32/unique_resource.h"

namespace System::Win32 {

bool TokenHasAdministratorRights()
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size))
        return false;
    // Asks the effective token: a group present only for deny purposes (a filtered token) does not count.
    BOOL member = FALSE;
    return CheckTokenMembership(nullptr, sid, &member) && member;
}

std::vector<BYTE> TokenUserSid()
{
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        static_cast<void>(token.release());  // nothing was opened; never close what the call may have left there
        return {};
    }
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return {};
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    if (!IsValidSid(sid))
        return {};
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

}  // namespace System::Win32
