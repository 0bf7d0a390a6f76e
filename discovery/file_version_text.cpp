#include <boost/format.hpp>

#include <vector>

#include "discovery/game_center_version.h"
#include "libraries/system/win32/dll_search.h"
#include "libraries/system/win32/unique_resource.h"

namespace Discovery {
namespace {

using GetFileVersionInfoSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using GetFileVersionInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using VerQueryValueFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;

}  // namespace

std::wstring ReadFileVersionText(const System::FsPath& path, const std::wstring& defaultText)
{
    // Only the system's version.dll: an import would let a planted copy next to us be loaded instead.
    const System::Win32::UniqueLibrary library = System::Win32::LoadSystemLibrary(L"version.dll");
    if (!library)
        return defaultText;
    using System::Win32::GetProc;
    const auto getSize = GetProc<GetFileVersionInfoSizeFn>(library.get(), "GetFileVersionInfoSizeW");
    const auto getInfo = GetProc<GetFileVersionInfoFn>(library.get(), "GetFileVersionInfoW");
    const auto query = GetProc<VerQueryValueFn>(library.get(), "VerQueryValueW");
    if (!getSize || !getInfo || !query)
        return defaultText;

    const std::wstring file = path.text();
    const DWORD size = getSize(file.c_str(), nullptr);
    if (size == 0)
        return defaultText;
    std::vector<BYTE> block(size);
    if (!getInfo(file.c_str(), 0, size, block.data()))
        return defaultText;

    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!query(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != kFixedFileInfoSignature)
        return defaultText;

    return (boost::wformat(L"%i.%i.%i.%i") % HIWORD(info->dwFileVersionMS) % LOWORD(info->dwFileVersionMS) %
            HIWORD(info->dwFileVersionLS) % LOWORD(info->dwFileVersionLS))
        .str();
}

}  // namespace Discovery
