#include "discovery/trust_rule.h"

#include <sddl.h>

#include <vector>

#include "libraries/system/win32/token_rights.h"
#include "libraries/system/win32/unique_resource.h"

namespace Discovery {
namespace {

// LocalSystem, Administrators, TrustedInstaller.
constexpr const wchar_t* kTrustedAccounts[] = {L"S-1-5-18", L"S-1-5-32-544",
                                               L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};

}  // namespace

TrustRule TrustRuleForRun(bool administratorRights)
{
    TrustRule rule;
    for (const wchar_t* text : kTrustedAccounts) {
        PSID sid = nullptr;
        if (ConvertStringSidToSidW(text, &sid)) {
            const System::Win32::UniqueLocalMemory owner(sid);
            rule.trusted.add(sid);
        }
    }
    if (!administratorRights) {
        std::vector<BYTE> user = System::Win32::TokenUserSid();
        if (!user.empty())
            rule.trusted.add(user.data());
        rule.readsCurrentUserEntry = true;
    }
    return rule;
}

}  // namespace Discovery
