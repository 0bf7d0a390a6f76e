#include "floor_trust.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "libraries/system/win32/final_path.h"
#include "libraries/system/win32/token_rights.h"

namespace Bench {
namespace {

using System::Win32::UniqueFile;
using System::Win32::UniqueLocalMemory;

constexpr DWORD kFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr ACCESS_MASK kFolderRights = WRITE_DAC | WRITE_OWNER | DELETE | FILE_DELETE_CHILD;
constexpr ACCESS_MASK kFileRights = WRITE_DAC | WRITE_OWNER | DELETE | FILE_WRITE_DATA | FILE_APPEND_DATA;
constexpr ACCESS_MASK kGameCenterFolderRights = kFolderRights | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;

// LocalSystem, Administrators, TrustedInstaller, and the token user in a run without administrator rights.
std::vector<std::vector<BYTE>> TrustedSids()
{
    std::vector<std::vector<BYTE>> sids;
    for (const wchar_t* text :
         {L"S-1-5-18", L"S-1-5-32-544", L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"}) {
        PSID sid = nullptr;
        if (!ConvertStringSidToSidW(text, &sid))
            continue;
        const UniqueLocalMemory owner(sid);
        sids.emplace_back(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
    }
    if (!System::Win32::TokenHasAdministratorRights())
        sids.push_back(System::Win32::TokenUserSid());
    return sids;
}

bool IsTrusted(PSID sid)
{
    static const std::vector<std::vector<BYTE>> trusted = TrustedSids();
    for (const std::vector<BYTE>& bytes : trusted) {
        if (sid && !bytes.empty() && EqualSid(const_cast<BYTE*>(bytes.data()), sid))
            return true;
    }
    return false;
}

bool Judge(HANDLE object, ACCESS_MASK refused)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                        &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const UniqueLocalMemory descriptorOwner(descriptor);
    if (!IsTrusted(owner) || dacl == nullptr)
        return false;
    GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        ACCESS_ALLOWED_ACE* entry = nullptr;
        if (!GetAce(dacl, index, reinterpret_cast<void**>(&entry)))
            return false;
        if (entry->Header.AceType != ACCESS_ALLOWED_ACE_TYPE || (entry->Header.AceFlags & INHERIT_ONLY_ACE))
            continue;
        ACCESS_MASK granted = entry->Mask;
        MapGenericMask(&granted, &mapping);
        if ((granted & refused) && !IsTrusted(&entry->SidStart))
            return false;
    }
    return true;
}

bool Hold(const std::wstring& path, DWORD access, DWORD share, ACCESS_MASK refused, std::vector<UniqueFile>& held)
{
    UniqueFile object(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, kFlags, nullptr));
    if (!object || !Judge(object.get(), refused))
        return false;
    held.push_back(std::move(object));
    return true;
}

bool HoldFolders(const std::wstring& file, ACCESS_MASK parentRights, std::vector<UniqueFile>& held)
{
    constexpr DWORD kAccess = FILE_READ_DATA | FILE_READ_ATTRIBUTES | READ_CONTROL;
    ACCESS_MASK rights = parentRights;
    for (size_t end = file.find_last_of(L'\\'); end != std::wstring::npos && end >= 2;
         end = file.find_last_of(L'\\', end - 1), rights = kFolderRights) {
        if (!Hold(end == 2 ? file.substr(0, 3) : file.substr(0, end), kAccess, FILE_SHARE_READ, rights, held))
            return false;
        if (end == 2)
            return true;
    }
    return false;
}

// A drive letter of a local fixed volume of its own, not a folder made into a drive.
bool IsLocalVolume(const std::wstring& path)
{
    wchar_t target[MAX_PATH];
    const wchar_t drive[] = {path[0], L':', L'\0'};
    const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
    return QueryDosDeviceW(drive, target, MAX_PATH) > 0 && wcsncmp(target, L"\\??\\", 4) != 0 &&
           GetDriveTypeW(root) == DRIVE_FIXED;
}

bool BesideAreTrusted(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool trusted = true;
    std::vector<UniqueFile> neighbours;
    do {
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0)
            continue;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        trusted = Hold(folder + L"\\" + found.cFileName, READ_CONTROL | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       isFolder ? kGameCenterFolderRights : kFileRights, neighbours);
        neighbours.clear();
    } while (trusted && FindNextFileW(search, &found));
    FindClose(search);
    return trusted;
}

}  // namespace

bool HoldTrusted(const std::wstring& path, bool gameCenter, std::vector<UniqueFile>& held)
{
    const DWORD share = gameCenter ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | READ_CONTROL, share, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file || !Judge(file.get(), kFileRights))
        return false;
    std::wstring final = System::Win32::FinalPathByHandle(file.get(), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    held.push_back(std::move(file));
    if (final.compare(0, 4, L"\\\\?\\") == 0)
        final.erase(0, 4);
    if (final.size() < 3 || final[1] != L':' || !IsLocalVolume(final))
        return false;
    const ACCESS_MASK parentRights = gameCenter ? kGameCenterFolderRights : kFolderRights;
    if (!HoldFolders(final, parentRights, held))
        return false;
    if (CompareStringOrdinal(final.c_str(), -1, path.c_str(), -1, TRUE) != CSTR_EQUAL &&
        !(Hold(path, READ_CONTROL, FILE_SHARE_READ, kFileRights, held) && HoldFolders(path, parentRights, held)))
        return false;
    return !gameCenter || BesideAreTrusted(final.substr(0, final.find_last_of(L'\\')));
}

}  // namespace Bench
