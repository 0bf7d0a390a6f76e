#include "errors/result_codes.h"

ResultCode ResultFromWin32(std::int32_t error)
{
    if (error <= 0)
        return error;
    return static_cast<ResultCode>(0x80070000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}

ResultCode FailureFromWin32(std::int32_t error)
{
    return error == 0 ? kResultFailedWithoutCode : ResultFromWin32(error);
}
