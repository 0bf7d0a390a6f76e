// Whether the installed game center is recent enough for this client.
#pragma once

#include <string>

#include "discovery/planting_guard.h"
#include "discovery/version.h"
#include "errors/result_codes.h"
#include "libraries/system/win32/fs_path.h"

namespace Discovery {

// The file version of the executable's version resource as "a.b.c.d", or defaultText when it has none.
std::wstring ReadFileVersionText(const System::FsPath& path, const std::wstring& defaultText);

// Locates the game center and reads its version ("0.0.0.0" when it has no version resource).
// False when there is no such file or the version does not parse; `version` is untouched when the file
// is missing and empty when the text does not parse.
bool ReadGameCenterVersion(Version& version, PlantingGuard* guard = nullptr);

// 0 when installed and not older than this client (or exactly 0.0.0.1); kResultOutdated when older;
// kResultNotInstalled otherwise. A failure to resolve the common application-data folder passes through.
// With a guard, only what it trusts is found (see LocateGameCenter).
ResultCode DiscoverGameCenter(PlantingGuard* guard = nullptr);

}  // namespace Discovery
