#include "errors/result_codes.h"

ResultCode FailureFromWin32(std::int32_t error)
{
    return error == 0 ? kResultFailedWithoutCode : HRESULT_FROM_WIN32(error);
}
