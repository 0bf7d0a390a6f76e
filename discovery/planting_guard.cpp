#include "discovery/planting_guard.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "libraries/system/win32/token_rights.h"
#include "libraries/system/win32/unique_resource.h"

namespace Discovery {
namespace {

using System::Win32::UniqueFile;
using System::Win32::UniqueLocalMemory;

// LocalSystem, Administrators, TrustedInstaller.
constexpr const wchar_t* kTrustedAccounts[] = {L"S-1-5-18", L"S-1-5-32-544",
                                               L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};

TrustedSids ThisProcessTrustedSids()
{
    TrustedSids trusted;
    for (const wchar_t* text : kTrustedAccounts) {
        PSID sid = nullptr;
        if (ConvertStringSidToSidW(text, &sid)) {
            const UniqueLocalMemory owner(sid);
            trusted.add(sid);
        }
    }
    std::vector<BYTE> user = System::Win32::TokenUserSid();
    if (!user.empty())
        trusted.add(user.data());
    return trusted;
}

bool IsDriveLetterRoot(const std::wstring& path)
{
    const wchar_t letter = path.empty() ? L'\0' : static_cast<wchar_t>(path[0] | 0x20);
    return path.size() >= 3 && letter >= L'a' && letter <= L'z' && path[1] == L':' &&
           (path[2] == L'\\' || path[2] == L'/');
}

// A read-only look at the object itself: a reparse point is opened as what it is, not as its target.
UniqueLocalMemory ReadDescriptor(const std::wstring& path)
{
    const UniqueFile object(CreateFileW(path.c_str(), READ_CONTROL,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!object)
        return UniqueLocalMemory();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                        nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return UniqueLocalMemory();
    return UniqueLocalMemory(descriptor);
}

}  // namespace

std::wstring LocalFixedDrivePath(const std::wstring& path)
{
    // Only "X:\" or "X:/" text: no UNC, device or long-path prefix, nothing relative to a current folder.
    if (!IsDriveLetterRoot(path))
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
    if (!IsDriveLetterRoot(full) || full.find(L':', 2) != std::wstring::npos)
        return {};
    const std::wstring root = full.substr(0, 3);
    if (GetDriveTypeW(root.c_str()) != DRIVE_FIXED)
        return {};
    return full;
}

PlantingGuard::PlantingGuard() : PlantingGuard(ThisProcessTrustedSids()) {}

PlantingGuard::PlantingGuard(TrustedSids trusted) : trusted_(std::move(trusted)) {}

bool PlantingGuard::trustsPathFile(const std::wstring& path)
{
    return trustsChain(path, ObjectRole::Folder);
}

bool PlantingGuard::trustsGameCenter(const std::wstring& executable)
{
    return trustsChain(executable, ObjectRole::GameCenterFolder);
}

bool PlantingGuard::trustsChain(const std::wstring& path, ObjectRole parentRole)
{
    const std::wstring full = LocalFixedDrivePath(path);
    if (full.empty())
        return false;
    // The file itself, then each folder up to the drive root (whose text keeps its separator).
    const size_t leafStart = full.find_last_of(L'\\');
    if (leafStart == std::wstring::npos || leafStart + 1 == full.size())
        return false;
    if (!trustsObject(full, ObjectRole::File))
        return false;
    // The canonical text has its root separator at index 2, so the walk always ends there.
    ObjectRole role = parentRole;
    for (size_t end = leafStart;; end = full.find_last_of(L'\\', end - 1)) {
        const bool root = end == 2;
        if (!trustsObject(root ? full.substr(0, 3) : full.substr(0, end), role))
            return false;
        if (root)
            return true;
        role = ObjectRole::Folder;
    }
}

bool PlantingGuard::trustsObject(const std::wstring& path, ObjectRole role)
{
    const auto key = std::make_pair(path, role);
    if (const auto known = verdicts_.find(key); known != verdicts_.end())
        return known->second;
    const UniqueLocalMemory descriptor = ReadDescriptor(path);
    const bool trusted = descriptor && NoOneElseCanChange(descriptor.get(), role, trusted_);
    verdicts_.emplace(key, trusted);
    return trusted;
}

}  // namespace Discovery
