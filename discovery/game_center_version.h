// Whether the installed game center is recent enough for this client.
#pragma once

#include <string>

#include "discovery/held_chain.h"
#include "discovery/trust_rule.h"
#include "discovery/version.h"
#include "errors/result_codes.h"
#include "libraries/system/win32/fs_path.h"

namespace Discovery {

// The file version of the executable's version resource as "a.b.c.d", or defaultText when it has none.
std::wstring ReadFileVersionText(const System::FsPath& path, const std::wstring& defaultText);

// Reads the held game center's version ("0.0.0.0" when it has no version resource). False when nothing is
// held or the version does not parse; `version` is untouched when nothing is held and empty when the text
// does not parse.
bool ReadGameCenterVersion(const HeldChain& gameCenter, Version& version);

// 0 when the held game center is not older than this client (or is exactly 0.0.0.1); kResultOutdated when
// older; kResultNotInstalled when nothing is held or its version does not parse.
ResultCode CheckGameCenterVersion(const HeldChain& gameCenter);

// The discovery of one operation: the game center it found, still held for the start, and its verdict.
struct DiscoveredGameCenter {
    ResultCode result = kResultNotInstalled;
    HeldChain gameCenter;
};

// One lookup (see LocateGameCenter) and the version check of what it holds. A failure to resolve the
// common application-data folder passes through.
DiscoveredGameCenter DiscoverGameCenter(const TrustRule& rule);

}  // namespace Discovery
