// The rule a run of the client trusts with, as the tests widen it. Under Wine no file can be owned by
// Administrators or LocalSystem: every fixture is the test account's. So what an elevated run accepts is
// shown by trusting that account through the rule (never through anything the shipped client reads).
#pragma once

#include <vector>

#include "discovery/trust_rule.h"
#include "libraries/system/win32/token_rights.h"

namespace TestSupport {

// The rule of a run with these rights; with `trustTestAccount` the test account counts as one of the
// installing accounts too (in a run without administrator rights it is trusted anyway).
inline Discovery::TrustRule TestRunRule(bool administratorRights, bool trustTestAccount = true)
{
    Discovery::TrustRule rule = Discovery::TrustRuleForRun(administratorRights);
    std::vector<BYTE> account = System::Win32::TokenUserSid();
    if (trustTestAccount && !account.empty())
        rule.trusted.add(account.data());
    return rule;
}

}  // namespace TestSupport
