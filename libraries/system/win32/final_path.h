// Where an open file or folder really is, whatever links the name it was opened by went through.
#pragma once

#include <windows.h>

#include <string>

namespace System::Win32 {

// GetFinalPathNameByHandleW with `form` (FILE_NAME_* | VOLUME_NAME_*); empty when it cannot be told.
std::wstring FinalPathByHandle(HANDLE object, DWORD form);

}  // namespace System::Win32
