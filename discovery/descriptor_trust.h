// The decision on one file's or folder's security descriptor: could anyone but the trusted accounts have
// planted or changed it? Pure: it looks only at the descriptor it is given.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Discovery {

enum class ObjectRole {
    File,              // the path file, tgc.exe
    Folder,            // every folder from the drive root down
    GameCenterFolder,  // tgc.exe's own folder: whatever is added there runs with tgc.exe's rights
};

// The accounts whose control of an object gives a standard user nothing: LocalSystem, Administrators,
// TrustedInstaller and the client's own token user.
class TrustedSids {
public:
    void add(PSID sid);
    bool contains(PSID sid) const;

private:
    std::vector<std::vector<BYTE>> sids_;
};

// The rights that change an object of this role or let it be swapped (generic rights not included).
ACCESS_MASK RightsThatChange(ObjectRole role);

// Why NoOneElseCanChange said no: what a support engineer needs to see the object's fault.
struct ChangeRefusal {
    enum class Kind {
        Unreadable,      // the descriptor or one of its entries does not read
        UntrustedOwner,  // `sid` owns the object
        NoDacl,          // everyone may do everything
        Grantee,         // an entry gives `sid` (empty: an entry whose grantee does not read) `rights`
    };
    Kind kind = Kind::Unreadable;
    std::wstring sid;  // as S-1-... text
    ACCESS_MASK rights = 0;
};

// The refusal as one sentence for the log.
std::wstring ChangeRefusalText(const ChangeRefusal& refusal);

// True when the owner is trusted and no allow entry that applies to the object itself grants another SID
// one of RightsThatChange(role). Inherit-only entries do not apply; a missing DACL grants everything.
// When false and `why` is given, it says which owner or grantee made the difference.
bool NoOneElseCanChange(PSECURITY_DESCRIPTOR descriptor, ObjectRole role, const TrustedSids& trusted,
                        ChangeRefusal* why = nullptr);

}  // namespace Discovery
