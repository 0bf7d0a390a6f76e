#include "support/windows7_loader.h"

#include <cstring>
#include <initializer_list>

namespace TestSupport {
namespace {

// The flags that KB2533623 brought; without it LoadLibraryExW refuses each of them.
constexpr DWORD kSearchFlags = LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_APPLICATION_DIR |
                               LOAD_LIBRARY_SEARCH_USER_DIRS | LOAD_LIBRARY_SEARCH_SYSTEM32 |
                               LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;

// The system's own functions, which the patched slots held.
decltype(&::GetProcAddress) g_getProcAddress = nullptr;
decltype(&::LoadLibraryExW) g_loadLibraryEx = nullptr;

FARPROC WINAPI GetProcAddressOfWindows7(HMODULE module, LPCSTR name)
{
    for (const char* missing : {"SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory"}) {
        if (!IS_INTRESOURCE(name) && std::strcmp(name, missing) == 0) {
            ::SetLastError(ERROR_PROC_NOT_FOUND);
            return nullptr;
        }
    }
    return g_getProcAddress(module, name);
}

HMODULE WINAPI LoadLibraryExWOfWindows7(LPCWSTR name, HANDLE file, DWORD flags)
{
    if (flags & kSearchFlags) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return g_loadLibraryEx(name, file, flags);
}

}  // namespace

ScopedWindows7Loader::ScopedWindows7Loader()
    : m_getProcAddress("KERNEL32.dll", "GetProcAddress", reinterpret_cast<void*>(&GetProcAddressOfWindows7)),
      m_loadLibraryEx("KERNEL32.dll", "LoadLibraryExW", reinterpret_cast<void*>(&LoadLibraryExWOfWindows7))
{
    g_getProcAddress = m_getProcAddress.Original<decltype(g_getProcAddress)>();
    g_loadLibraryEx = m_loadLibraryEx.Original<decltype(g_loadLibraryEx)>();
}

}  // namespace TestSupport
