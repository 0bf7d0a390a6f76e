#include "discovery/descriptor_trust.h"

#include <sddl.h>

#include "libraries/system/win32/unique_resource.h"
#include "log/log_line.h"

namespace Discovery {
namespace {

// How generic rights in an entry read for files and folders.
GENERIC_MAPPING FileGenericMapping()
{
    return {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
}

// The SID an allow entry grants to, or null for an entry type this check does not read.
PSID AllowedSid(const ACE_HEADER* header)
{
    switch (header->AceType) {
        case ACCESS_ALLOWED_ACE_TYPE:
            return const_cast<DWORD*>(&reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header)->SidStart);
        case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
            return const_cast<DWORD*>(&reinterpret_cast<const ACCESS_ALLOWED_CALLBACK_ACE*>(header)->SidStart);
        default:
            return nullptr;
    }
}

bool IsAllowEntry(BYTE type)
{
    return type == ACCESS_ALLOWED_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_ACE_TYPE ||
           type == ACCESS_ALLOWED_OBJECT_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE ||
           type == ACCESS_ALLOWED_COMPOUND_ACE_TYPE;
}

std::wstring SidText(PSID sid)
{
    wchar_t* text = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidW(sid, &text))
        return {};
    const System::Win32::UniqueLocalMemory owner(text);
    return text;
}

bool Refuse(ChangeRefusal* why, ChangeRefusal::Kind kind, PSID sid = nullptr, ACCESS_MASK rights = 0)
{
    if (why)
        *why = ChangeRefusal{kind, SidText(sid), rights};
    return false;
}

}  // namespace

std::wstring ChangeRefusalText(const ChangeRefusal& refusal)
{
    switch (refusal.kind) {
        case ChangeRefusal::Kind::Unreadable:
            return L"its permissions do not read";
        case ChangeRefusal::Kind::UntrustedOwner:
            return refusal.sid.empty() ? std::wstring(L"it has no owner")
                                       : L"owned by " + refusal.sid + L", an account not trusted";
        case ChangeRefusal::Kind::NoDacl:
            return L"it has no permissions list: anyone may change it";
        case ChangeRefusal::Kind::Grantee:
            return (refusal.sid.empty() ? std::wstring(L"an unreadable grantee") : refusal.sid) + L" may change it (" +
                   Log::hex32(refusal.rights) + L")";
    }
    return {};
}

void TrustedSids::add(PSID sid)
{
    if (sid == nullptr || !IsValidSid(sid))
        return;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    sids_.emplace_back(bytes, bytes + GetLengthSid(sid));
}

bool TrustedSids::contains(PSID sid) const
{
    if (sid == nullptr || !IsValidSid(sid))
        return false;
    for (const std::vector<BYTE>& trusted : sids_) {
        if (EqualSid(const_cast<BYTE*>(trusted.data()), sid))
            return true;
    }
    return false;
}

ACCESS_MASK RightsThatChange(ObjectRole role)
{
    // Changing the permissions or the owner hands over everything else.
    constexpr ACCESS_MASK kTakeOver = WRITE_DAC | WRITE_OWNER;
    switch (role) {
        case ObjectRole::File:
            return kTakeOver | DELETE | FILE_WRITE_DATA | FILE_APPEND_DATA;
        case ObjectRole::Folder:
            // Deleting or renaming what is inside swaps it for something else.
            return kTakeOver | DELETE | FILE_DELETE_CHILD;
        case ObjectRole::GameCenterFolder:
            // A DLL added beside tgc.exe, or a tgc.exe.local folder of them, would be loaded into it.
            return RightsThatChange(ObjectRole::Folder) | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;
    }
    return 0;
}

bool NoOneElseCanChange(PSECURITY_DESCRIPTOR descriptor, ObjectRole role, const TrustedSids& trusted,
                        ChangeRefusal* why)
{
    using Kind = ChangeRefusal::Kind;
    if (descriptor == nullptr || !IsValidSecurityDescriptor(descriptor))
        return Refuse(why, Kind::Unreadable);

    PSID owner = nullptr;
    BOOL ownerDefaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &ownerDefaulted))
        return Refuse(why, Kind::Unreadable);
    if (!trusted.contains(owner))
        return Refuse(why, Kind::UntrustedOwner, owner);

    BOOL present = FALSE;
    PACL dacl = nullptr;
    BOOL daclDefaulted = FALSE;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &daclDefaulted))
        return Refuse(why, Kind::Unreadable);
    if (!present || dacl == nullptr)
        return Refuse(why, Kind::NoDacl);  // a FAT volume, or a NULL DACL: everyone may do everything

    const ACCESS_MASK refused = RightsThatChange(role);
    GENERIC_MAPPING mapping = FileGenericMapping();
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(dacl, index, &entry))
            return Refuse(why, Kind::Unreadable);
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (!IsAllowEntry(header->AceType) || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        // Every allow type keeps its mask right after the header.
        ACCESS_MASK granted = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header)->Mask;
        MapGenericMask(&granted, &mapping);
        if ((granted & refused) == 0)
            continue;
        // An entry whose grantee cannot be read here counts as granting to someone else.
        const PSID grantee = AllowedSid(header);
        if (grantee == nullptr || !trusted.contains(grantee))
            return Refuse(why, Kind::Grantee, grantee, granted & refused);
    }
    return true;
}

}  // namespace Discovery
