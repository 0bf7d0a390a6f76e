// The same-work floor's share of the trust check: the objects the client opens and holds, their
// descriptors read through those handles, judged by the plainest rule that refuses what it refuses.
#pragma once

#include <string>
#include <vector>

#include "libraries/system/win32/unique_resource.h"

namespace Bench {

// Opens `path`, then each folder from its final location up to the volume root (and, reached through a
// link, those of the path as written), reading each one's owner and DACL; for the game center also each
// file and subfolder beside it. The objects stay in `held`. False when anything is not trusted.
bool HoldTrusted(const std::wstring& path, bool gameCenter, std::vector<System::Win32::UniqueFile>& held);

}  // namespace Bench
