#include "app/job_breakaway.h"

namespace ZGC {

std::optional<DWORD> QueryJobLimitFlags()
{
    JOBOBJECT_BASIC_LIMIT_INFORMATION limits{};
    if (!QueryInformationJobObject(nullptr, JobObjectBasicLimitInformation, &limits, sizeof limits, nullptr))
        return std::nullopt;
    return limits.LimitFlags;
}

DWORD BreakawayCreationFlags(std::optional<DWORD> jobLimitFlags)
{
    if (jobLimitFlags && (*jobLimitFlags & JOB_OBJECT_LIMIT_BREAKAWAY_OK) != 0)
        return CREATE_BREAKAWAY_FROM_JOB;
    return 0;
}

}  // namespace ZGC
