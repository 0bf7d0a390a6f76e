#include "discovery/descriptor_trust.h"

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

}  // namespace

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

bool NoOneElseCanChange(PSECURITY_DESCRIPTOR descriptor, ObjectRole role, const TrustedSids& trusted)
{
    if (descriptor == nullptr || !IsValidSecurityDescriptor(descriptor))
        return false;

    PSID owner = nullptr;
    BOOL ownerDefaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &ownerDefaulted) || !trusted.contains(owner))
        return false;

    BOOL present = FALSE;
    PACL dacl = nullptr;
    BOOL daclDefaulted = FALSE;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &daclDefaulted) || !present || dacl == nullptr)
        return false;  // no DACL (a FAT volume, or a NULL DACL): everyone may do everything

    const ACCESS_MASK refused = RightsThatChange(role);
    GENERIC_MAPPING mapping = FileGenericMapping();
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(dacl, index, &entry))
            return false;
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
            return false;
    }
    return true;
}

}  // namespace Discovery
