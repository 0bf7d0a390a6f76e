// The decision on one file's or folder's security descriptor: could anyone but the trusted accounts have
// planted or changed it? Pure: it looks only at the descriptor it is given.
#pragma once

#include <windows.h>

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

// True when the owner is trusted and no allow entry that applies to the object itself grants another SID
// one of RightsThatChange(role). Inherit-only entries do not apply; a missing DACL grants everything.
bool NoOneElseCanChange(PSECURITY_DESCRIPTOR descriptor, ObjectRole role, const TrustedSids& trusted);

}  // namespace Discovery
