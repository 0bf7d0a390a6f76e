// The one file test both discovery steps make.
#pragma once

#include <windows.h>

#include <string>

namespace Discovery {

// True when the path names something that exists and is not a folder.
inline bool IsExistingFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace Discovery
