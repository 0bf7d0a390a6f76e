// Whether the uninstalling game center may leave the job this process runs in. A launcher that puts
// the client in a job (and kills the job when it ends) must not take the uninstall down with it.
#pragma once

#include <windows.h>

#include <optional>

namespace ZGC {

// Limit flags of the job this process belongs to; nothing when the query fails.
std::optional<DWORD> QueryJobLimitFlags();

// CREATE_BREAKAWAY_FROM_JOB when the job allows breaking away, else 0 (asking for it otherwise fails the start).
DWORD BreakawayCreationFlags(std::optional<DWORD> jobLimitFlags);

}  // namespace ZGC
