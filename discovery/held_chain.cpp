#include "discovery/held_chain.h"

#include <aclapi.h>

#include <utility>

#include "libraries/system/win32/final_path.h"
#include "log/log_line.h"

namespace Discovery {
namespace {

using System::Win32::UniqueFile;
using System::Win32::UniqueLocalMemory;

// Read access makes the share mode count: a handle with data access keeps others from opening the object
// for writing or deleting (and so from renaming it) while it is open.
constexpr DWORD kObjectAccess = FILE_READ_DATA | FILE_READ_ATTRIBUTES | READ_CONTROL;
// Each object as what it is: a link is held and judged itself, not its target.
constexpr DWORD kObjectFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr DWORD kLeafAccess = GENERIC_READ | READ_CONTROL;

bool IsDriveLetterPath(const std::wstring& path)
{
    const wchar_t letter = path.empty() ? L'\0' : static_cast<wchar_t>(path[0] | 0x20);
    return path.size() >= 3 && letter >= L'a' && letter <= L'z' && path[1] == L':' &&
           (path[2] == L'\\' || path[2] == L'/');
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool IsLocalFixedVolume(const std::wstring& path)
{
    if (!IsDriveLetterPath(path) || !IsVolumeDrive(path[0]))
        return false;
    const std::wstring root = path.substr(0, 3);
    return GetDriveTypeW(root.c_str()) == DRIVE_FIXED;
}

// Where the held file really is, as X:\...; empty when it is not on a drive letter.
std::wstring FinalPath(HANDLE file)
{
    std::wstring path = System::Win32::FinalPathByHandle(file, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    constexpr wchar_t kLongPrefix[] = L"\\\\?\\";
    if (path.compare(0, 4, kLongPrefix) == 0)
        path.erase(0, 4);
    return IsDriveLetterPath(path) ? path : std::wstring();
}

bool IsReparsePoint(HANDLE object)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return !GetFileInformationByHandle(object, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Why a candidate is passed over, for the run's log: the object that decided it and what is wrong with it.
bool PassOver(const std::wstring& object, const std::wstring& reason)
{
    Log::line(Log::kWarningLevel, LOG_LOCATION(), L"Passed over %1: %2", {object, reason});
    return false;
}

// `name` is how the log names the object.
bool Judge(HANDLE object, ObjectRole role, const TrustedSids& trusted, const std::wstring& name)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD status = GetSecurityInfo(object, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                         nullptr, nullptr, nullptr, nullptr, &descriptor);
    if (status != ERROR_SUCCESS)
        return PassOver(name, L"its permissions do not read (error " + std::to_wstring(status) + L")");
    const UniqueLocalMemory owner(descriptor);
    ChangeRefusal why;
    return NoOneElseCanChange(descriptor, role, trusted, &why) || PassOver(name, ChangeRefusalText(why));
}

class ChainHolder {
public:
    ChainHolder(std::vector<UniqueFile>& objects, const TrustedSids& trusted) : objects_(objects), trusted_(trusted) {}

    // Holds and judges an object as itself. With `linksAllowed` false a link there means the path changed
    // after it was resolved.
    bool hold(const std::wstring& path, ObjectRole role, bool linksAllowed)
    {
        UniqueFile object(
            CreateFileW(path.c_str(), kObjectAccess, FILE_SHARE_READ, nullptr, OPEN_EXISTING, kObjectFlags, nullptr));
        if (!object)
            return PassOver(path, L"it does not open (error " + std::to_wstring(GetLastError()) + L")");
        if (!linksAllowed && IsReparsePoint(object.get()))
            return PassOver(path, L"a link appeared on its way");
        if (!Judge(object.get(), role, trusted_, path))
            return false;
        objects_.push_back(std::move(object));
        return true;
    }

    // Each folder above `full` (a canonical X:\... text) up to its root; the nearest one in `parentRole`.
    bool holdFolders(const std::wstring& full, ObjectRole parentRole, bool linksAllowed)
    {
        ObjectRole role = parentRole;
        for (size_t end = full.find_last_of(L'\\');; end = full.find_last_of(L'\\', end - 1)) {
            const bool root = end == 2;
            if (!hold(root ? full.substr(0, 3) : full.substr(0, end), role, linksAllowed))
                return false;
            if (root)
                return true;
            role = ObjectRole::Folder;
        }
    }

    // Everything directly in tgc.exe's folder runs with its rights or is loaded by it: each file meets the
    // rule of tgc.exe, each subfolder's own descriptor that of the folder.
    bool judgeNeighbours(const std::wstring& folder) const
    {
        WIN32_FIND_DATAW found{};
        const std::wstring pattern = folder + L"\\*";
        const HANDLE search =
            FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE)
            return PassOver(folder, L"its contents do not list");
        bool trusted = true;
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const std::wstring path = folder + L"\\" + name;
            const UniqueFile object(CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, kObjectFlags, nullptr));
            trusted =
                object ? Judge(object.get(), isFolder ? ObjectRole::GameCenterFolder : ObjectRole::File, trusted_, path)
                       : PassOver(path, L"it does not open (error " + std::to_wstring(GetLastError()) + L")");
        } while (trusted && FindNextFileW(search, &found));
        FindClose(search);
        return trusted;
    }

private:
    std::vector<UniqueFile>& objects_;
    const TrustedSids& trusted_;
};

}  // namespace

// A drive letter that names a volume of its own, not a folder made into a drive (subst, DefineDosDevice):
// those read back as a path in the object namespace ("\??\C:\folder").
bool IsVolumeDrive(wchar_t letter)
{
    const wchar_t drive[] = {letter, L':', L'\0'};
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = QueryDosDeviceW(drive, target.data(), static_cast<DWORD>(target.size()));
        if (length > 0)
            return target.compare(0, 4, L"\\??\\") != 0;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || target.size() > 32768)
            return false;
        target.resize(target.size() * 2);
    }
}

std::wstring LocalFixedDrivePath(const std::wstring& path)
{
    // Only "X:\" or "X:/" text: no UNC, device or long-path prefix, nothing relative to a current folder.
    if (!IsDriveLetterPath(path))
        return {};
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return {};
    full.resize(length);
    // A colon past the drive names a stream.
    if (!IsDriveLetterPath(full) || full.find(L':', 2) != std::wstring::npos)
        return {};
    const std::wstring root = full.substr(0, 3);
    if (GetDriveTypeW(root.c_str()) != DRIVE_FIXED)
        return {};
    return full;
}

HeldChain HoldChain(const std::wstring& path, ChainLeaf leaf, const TrustedSids& trusted)
{
    HeldChain held(path, ChainVerdict::Untrusted);
    // A network, device or relative path is passed over without touching it.
    if (!IsDriveLetterPath(path)) {
        PassOver(path, L"not a path on a drive letter");
        return held;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Not found: %1", {path});
        held.verdict_ = ChainVerdict::Missing;
        return held;
    }
    const std::wstring written = LocalFixedDrivePath(path);
    if (written.empty() || written.back() == L'\\') {
        PassOver(path, L"not a file on a local fixed drive");
        return held;
    }

    // The game center may rewrite its path file while we hold it; tgc.exe nobody may write meanwhile.
    const DWORD share = leaf == ChainLeaf::PathFile ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    UniqueFile file(CreateFileW(written.c_str(), kLeafAccess, share, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        PassOver(written, L"it does not open (error " + std::to_wstring(GetLastError()) + L")");
        return held;
    }
    if (!Judge(file.get(), ObjectRole::File, trusted, written))
        return held;
    const std::wstring final = FinalPath(file.get());
    held.objects_.push_back(std::move(file));
    if (final.empty() || !IsLocalFixedVolume(final)) {
        PassOver(written, L"it is really at " +
                              (final.empty() ? std::wstring(L"a place without a drive letter") : final) +
                              L", not on a local fixed volume");
        return held;
    }

    const ObjectRole parentRole = leaf == ChainLeaf::GameCenter ? ObjectRole::GameCenterFolder : ObjectRole::Folder;
    ChainHolder holder(held.objects_, trusted);
    if (!holder.holdFolders(final, parentRole, false))
        return held;
    // Reached through a link: the objects of the path as written are on the way too.
    if (!SamePath(final, written) &&
        !(holder.hold(written, ObjectRole::File, true) && holder.holdFolders(written, parentRole, true)))
        return held;
    if (leaf == ChainLeaf::GameCenter && !holder.judgeNeighbours(final.substr(0, final.find_last_of(L'\\'))))
        return held;
    held.verdict_ = ChainVerdict::Trusted;
    return held;
}

}  // namespace Discovery
