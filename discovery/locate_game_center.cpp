#include "discovery/locate_game_center.h"

namespace Discovery {

std::wstring LocateGameCenter(PlantingGuard* guard)
{
    // A path file that names a folder wins even if tgc.exe is missing there; the version check tells.
    std::wstring path = ReadPathFile(L"Tarvo\\GameCenter", L"tgc.exe", L"tgc_path.dat", guard);
    if (!path.empty())
        return path;
    return ReadUninstallEntry(guard);
}

}  // namespace Discovery
