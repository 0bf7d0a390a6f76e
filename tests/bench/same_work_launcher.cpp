// The second floor for start-up timing: the lookups the client cannot do without, done once each
// and as cheaply as the system allows, then the start. The common application-data folder, the
// path file under it, held and judged with its chain as the client holds it; tgc.exe, its chain and
// what lies beside it, the same; the game center's file version through the system's version.dll
// (never a copy beside us), the same minimum version; then the game center is started in its folder
// with this process's own arguments, and nothing else happens.
// Exit code: 0 started, 1 no trusted path file, 2 not a usable version, 3 the start failed, 4 a game
// center someone else could have changed.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "floor_start.h"
#include "floor_trust.h"
#include "libraries/system/win32/unique_resource.h"

namespace {

constexpr ULONGLONG kMinimumVersion = (26ULL << 48) | (0ULL << 32) | (2ULL << 16) | 1046ULL;
constexpr ULONGLONG kAcceptedVersion = 1;  // 0.0.0.1

std::wstring ProgramDataFolder()
{
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &raw);
    std::wstring folder = hr == S_OK && raw ? raw : L"";
    CoTaskMemFree(raw);
    return folder;
}

// <ProgramData>\Tarvo\GameCenter\data\tgc_path.dat names the folder; empty when there is none.
std::wstring GameCenterFolder()
{
    const std::wstring folder = ProgramDataFolder();
    if (folder.empty())
        return {};
    std::vector<System::Win32::UniqueFile> held;
    if (!Bench::HoldTrusted(folder + L"\\Tarvo\\GameCenter\\data\\tgc_path.dat", false, held))
        return {};
    char bytes[4096];
    DWORD read = 0;
    if (!ReadFile(held.front().get(), bytes, sizeof bytes, &read, nullptr) || read == 0)
        return {};
    std::wstring text(read, L'\0');
    text.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(read), text.data(), static_cast<int>(text.size()))));
    while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/'))
        text.pop_back();
    return text;
}

bool IsUsableVersion(const std::wstring& path)
{
    using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    const System::Win32::UniqueLibrary library(LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!library)
        return false;
    const auto getSize = System::Win32::GetProc<GetSizeFn>(library.get(), "GetFileVersionInfoSizeW");
    const auto getInfo = System::Win32::GetProc<GetInfoFn>(library.get(), "GetFileVersionInfoW");
    const auto query = System::Win32::GetProc<QueryFn>(library.get(), "VerQueryValueW");
    if (!getSize || !getInfo || !query)
        return false;
    const DWORD size = getSize(path.c_str(), nullptr);
    if (size == 0)
        return false;
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!getInfo(path.c_str(), 0, size, block.data()) ||
        !query(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != VS_FFI_SIGNATURE)
        return false;
    const ULONGLONG version = (static_cast<ULONGLONG>(info->dwFileVersionMS) << 32) | info->dwFileVersionLS;
    return version >= kMinimumVersion || version == kAcceptedVersion;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // As the client: no DLL is ever taken from the folder we were started from.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const std::wstring folder = GameCenterFolder();
    if (folder.empty())
        return 1;
    const std::wstring gameCenter = folder + (folder.back() == L'\\' ? L"" : L"\\") + L"tgc.exe";
    // Held from the check to the start, as the client holds it.
    std::vector<System::Win32::UniqueFile> held;
    if (!Bench::HoldTrusted(gameCenter, true, held))
        return 4;
    if (!IsUsableVersion(gameCenter))
        return 2;
    // In its own folder, as the client starts it.
    return Bench::StartWithArguments(gameCenter, Bench::OwnArguments(), 1, folder) ? 0 : 3;
}
