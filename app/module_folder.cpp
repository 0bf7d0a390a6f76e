#include "app/module_folder.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdlib>
#include <cwchar>

namespace ZGC {

namespace {

constexpr DWORD kPathChunk = MAX_PATH;

}  // namespace

std::wstring RunningModulePath()
{
    std::wstring buffer;
    DWORD length = 0;
    do {
        buffer.resize(buffer.size() + kPathChunk);
        length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    } while (length >= buffer.size());  // a full buffer means the path may have been cut
    buffer.resize(length);
    return buffer;
}

std::wstring FolderOfModulePath(const std::wstring& modulePath)
{
    std::wstring path = modulePath;
    wchar_t fullPath[MAX_PATH];
    if (_wfullpath(fullPath, modulePath.c_str(), MAX_PATH) != nullptr)
        path = fullPath;
    return WithoutLastComponent(path);
}

std::wstring WithoutLastComponent(const std::wstring& path)
{
    std::wstring folder = path;
    folder.push_back(L'\0');
    PathRemoveFileSpecW(folder.data());
    folder.resize(wcslen(folder.c_str()));
    return folder;
}

std::wstring DefaultGameFolder()
{
    return FolderOfModulePath(RunningModulePath());
}

}  // namespace ZGC
