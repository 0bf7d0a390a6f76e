// With administrator rights the client must not start a program a standard user put in place: it takes
// a path file or a game center only when no one but the trusted accounts can have planted or changed
// it, or any folder above it.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "discovery/descriptor_trust.h"

namespace Discovery {

// "X:\..." on a local fixed drive, in the canonical form the system resolves it to; empty for a
// network path (\\server\share, a mapped drive), a \\?\ or \\.\ path, a relative or drive-relative text,
// a stream name, or a drive that is not fixed.
std::wstring LocalFixedDrivePath(const std::wstring& path);

class PlantingGuard {
public:
    // The trusted accounts of this process: LocalSystem, Administrators, TrustedInstaller, its token user.
    PlantingGuard();
    explicit PlantingGuard(TrustedSids trusted);

    // The path file and every folder from the drive root down to it.
    bool trustsPathFile(const std::wstring& path);
    // tgc.exe, its own folder (where nobody else may add a file either) and every folder above it.
    bool trustsGameCenter(const std::wstring& executable);

private:
    bool trustsChain(const std::wstring& path, ObjectRole parentRole);
    bool trustsObject(const std::wstring& path, ObjectRole role);

    TrustedSids trusted_;
    // Each object's descriptor is read once per process; what it was found to be stays true for the
    // process, since only the trusted accounts can change a trusted object.
    std::map<std::pair<std::wstring, ObjectRole>, bool> verdicts_;
};

}  // namespace Discovery
