// Whom one run of the client trusts with what it starts, and which of the game center's sources it reads.
// Fixed by the run's own rights: nothing outside the program (no variable, value or switch) widens it.
#pragma once

#include "discovery/descriptor_trust.h"

namespace Discovery {

struct TrustRule {
    TrustedSids trusted;
    // The current user's uninstall entry: only a run without administrator rights reads it.
    bool readsCurrentUserEntry = false;
};

// LocalSystem, Administrators and TrustedInstaller. Without administrator rights also the token user (he
// could have started any program himself), whose uninstall entry is then read as well. With them his
// account is what his unelevated programs can change, so neither is.
TrustRule TrustRuleForRun(bool administratorRights);

}  // namespace Discovery
