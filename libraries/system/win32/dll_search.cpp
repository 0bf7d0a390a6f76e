#include "libraries/system/win32/dll_search.h"

#include <string>

#include "libraries/system/win32/system_function.h"

namespace System::Win32 {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// DLLs that the system's own libraries load by name once the program runs (visual styles, the
// shell, security descriptors, the version check): not KnownDLLs, so where the search cannot be
// restricted Windows would look for them in the game folder first. A copy already loaded is taken
// instead of any search.
constexpr const wchar_t* kLoadedByNameLater[] = {
    L"uxtheme.dll", L"dwmapi.dll", L"version.dll", L"cryptbase.dll", L"propsys.dll", L"apphelp.dll", L"ntmarta.dll",
};

// Windows 7 has it, and the LOAD_LIBRARY_SEARCH_* flags with it, only with KB2533623; without the
// update those flags fail with ERROR_INVALID_PARAMETER.
SetDefaultDllDirectoriesFn FindSetDefaultDllDirectories()
{
    return FindSystemFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
}

std::wstring SystemFolderFile(const wchar_t* fileName)
{
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0)
        return {};
    if (length >= MAX_PATH) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return {};
    }
    return std::wstring(folder, length) + L'\\' + fileName;
}

}  // namespace

void RestrictDllSearch()
{
    if (const auto setDefaultDllDirectories = FindSetDefaultDllDirectories()) {
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    ::SetDllDirectoryW(L"");
    for (const wchar_t* name : kLoadedByNameLater) {
        // Kept loaded for the life of the process: later loads by name must find this copy.
        UniqueLibrary pinned = LoadSystemLibrary(name);
        static_cast<void>(pinned.release());
    }
}

UniqueLibrary LoadSystemLibrary(const wchar_t* fileName)
{
    if (FindSetDefaultDllDirectories())
        return UniqueLibrary(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    const std::wstring path = SystemFolderFile(fileName);
    if (path.empty())
        return {};
    // The altered search takes the DLL's own dependencies from its folder, not from ours.
    return UniqueLibrary(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace System::Win32
