#include "discovery/game_center_version.h"

#include <windows.h>

#include "discovery/locate_game_center.h"
#include "log/log_line.h"

namespace Discovery {
namespace {

// This client's own file version: the oldest game center it works with.
constexpr char kClientVersion[] = "26.00.02.1046";
// A game center reporting exactly this version is accepted whatever its age.
constexpr char kAcceptedSpecialVersion[] = "0.0.0.1";
constexpr wchar_t kNoVersionText[] = L"0.0.0.0";

bool IsOlder(const Version& installed, const Version& required)
{
    return less(installed.mainComponents, required.mainComponents) ||
           (equals(installed.mainComponents, required.mainComponents) &&
            less(installed.revisionComponents, required.revisionComponents));
}

}  // namespace

bool ReadGameCenterVersion(const HeldChain& gameCenter, Version& version)
{
    // The file is held from the lookup on: the version read is that of the file that will start.
    if (!gameCenter.trusted())
        return false;

    System::FsPath executable(gameCenter.path());
    if (!executable.isRoot())
        executable.stripTrailingSeparator();
    const std::wstring text = ReadFileVersionText(executable, kNoVersionText);
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Version of %1: %2", {gameCenter.path(), text});
    if (text.empty())
        return false;

    // The text holds only digits and dots.
    std::string narrow;
    for (wchar_t c : text)
        narrow += static_cast<char>(c);
    bool parsed = false;
    version = ParseVersion(narrow, &parsed);
    return parsed;
}

ResultCode CheckGameCenterVersion(const HeldChain& gameCenter)
{
    Version installed;
    if (!ReadGameCenterVersion(gameCenter, installed))
        return kResultNotInstalled;

    const Version required(kClientVersion);
    if (!IsOlder(installed, required))
        return kResultSuccess;

    const Version special(kAcceptedSpecialVersion);
    if (equals(installed.mainComponents, special.mainComponents) &&
        equals(installed.revisionComponents, special.revisionComponents))
        return kResultSuccess;
    return kResultOutdated;
}

DiscoveredGameCenter DiscoverGameCenter(const TrustRule& rule)
{
    DiscoveredGameCenter discovered;
    discovered.gameCenter = LocateGameCenter(rule);
    discovered.result = CheckGameCenterVersion(discovered.gameCenter);
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Discovery result %1",
              {Log::hex32(static_cast<unsigned long>(discovered.result))});
    return discovered;
}

}  // namespace Discovery
