#include "libraries/system/win32/known_paths_win.h"

#include <knownfolders.h>
#include <oleauto.h>

#include <array>
#include <cstring>
#include <memory>
#include <utility>

#include "libraries/system/win32/atl_exception.h"
#include "log/logger.h"

namespace System::Env::KnownPaths {

const std::string& Errors::Base_traits::name()
{
    static const std::string name = Err::joinTypeName(Err::Error::typeName(), "KnownPaths");
    return name;
}

const std::string& Errors::Failed_traits::name()
{
    static const std::string name = Err::joinTypeName(Base::typeName(), "Failed");
    return name;
}

namespace {

struct CoTaskMemDeleter {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

struct BstrDeleter {
    void operator()(wchar_t* text) const { SysFreeString(text); }
};

using FolderNames = std::array<std::pair<KNOWNFOLDERID, const char*>, 6>;

const FolderNames& FolderNameTable()
{
    static const FolderNames table = {{
        {FOLDERID_Desktop, "FOLDERID_Desktop"},
        {FOLDERID_System, "FOLDERID_System"},
        {FOLDERID_SystemX86, "FOLDERID_SystemX86"},
        {FOLDERID_Programs, "FOLDERID_Programs"},
        {FOLDERID_ProgramData, "FOLDERID_ProgramData"},
        {FOLDERID_RoamingAppData, "FOLDERID_RoamingAppData"},
    }};
    return table;
}

std::string ToThreadAnsi(const wchar_t* text)
{
    const int length = WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.pop_back();  // the terminator
    return narrow;
}

}  // namespace

std::string KnownFolderDisplayName(const KNOWNFOLDERID& id)
{
    std::string name;
    for (const auto& [folder, folderName] : FolderNameTable()) {
        if (std::memcmp(&folder, &id, sizeof id) == 0) {
            name += folderName;
            name += ' ';
            break;
        }
    }

    wchar_t guidText[64] = {};
    StringFromGUID2(id, guidText, static_cast<int>(std::size(guidText)));
    const std::unique_ptr<wchar_t, BstrDeleter> copy(SysAllocString(guidText));
    if (!copy)
        throw ATL::CAtlException(E_OUTOFMEMORY);
    name += ToThreadAnsi(copy.get());
    return name;
}

std::wstring GetKnownFolder(const KNOWNFOLDERID& id)
{
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, 0, nullptr, &raw);
    // Windows may hand back memory even on failure; it is released on every way out.
    const std::unique_ptr<wchar_t, CoTaskMemDeleter> path(raw);
    if (hr == S_OK)
        return path ? std::wstring(path.get()) : std::wstring();

    // The cause is the thread's last error, which says more than the HRESULT.
    const auto cause = Err::makeLastSystemError();
    const auto logger = Log::getLogger();
    const Errors::Failed error(cause, "Failed to get known folder for " + KnownFolderDisplayName(id));
    throw Log::loggedThrow(logger, error, Log::currentLocation("win32\\known_paths_win", 71));
}

FsPath ProgramDataFolder()
{
    FsPath folder(GetKnownFolder(FOLDERID_ProgramData));
    if (!folder.isRoot())
        folder.stripTrailingSeparator();
    return folder;
}

}  // namespace System::Env::KnownPaths
