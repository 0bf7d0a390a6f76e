#include "libraries/system/win32/final_path.h"

namespace System::Win32 {

std::wstring FinalPathByHandle(HANDLE object, DWORD form)
{
    const DWORD size = GetFinalPathNameByHandleW(object, nullptr, 0, form);
    if (size == 0)
        return {};
    std::wstring path(size, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(object, path.data(), size, form);
    if (length == 0 || length >= size)
        return {};
    path.resize(length);
    return path;
}

}  // namespace System::Win32
