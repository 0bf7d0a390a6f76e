// A file and every folder above it, opened and kept open from the check to the start. While they are held
// nobody can write, rename or delete them (no write or delete sharing), so the file that was judged is the
// file that is read and started. Their descriptors are read through the same handles.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "discovery/descriptor_trust.h"
#include "libraries/system/win32/unique_resource.h"

namespace Discovery {

// "X:\..." on a local fixed drive, in the canonical form the system resolves it to; empty for a
// network path (\\server\share, a mapped drive), a \\?\ or \\.\ path, a relative or drive-relative text,
// a stream name, or a drive that is not fixed.
std::wstring LocalFixedDrivePath(const std::wstring& path);

// True when the drive letter names a volume of its own, false for a folder made into a drive (subst,
// DefineDosDevice) or a letter that names nothing.
bool IsVolumeDrive(wchar_t letter);

enum class ChainVerdict {
    Missing,    // no such file (or it is a folder)
    Untrusted,  // someone but the trusted accounts could have planted or changed it, or it cannot be told
    Trusted,
};

enum class ChainLeaf {
    PathFile,    // may be rewritten by the game center while held
    GameCenter,  // tgc.exe: its folder's files and subfolders are judged too, since they run with its rights
};

class HeldChain {
public:
    HeldChain() = default;
    // A verdict without handles: what a lookup's choice is tested with.
    HeldChain(std::wstring path, ChainVerdict verdict) : path_(std::move(path)), verdict_(verdict) {}

    // The path as its source named it; the process start and the messages use it.
    const std::wstring& path() const { return path_; }
    ChainVerdict verdict() const { return verdict_; }
    bool trusted() const { return verdict_ == ChainVerdict::Trusted; }
    // The held file itself (INVALID_HANDLE_VALUE when nothing is held).
    HANDLE file() const { return objects_.empty() ? INVALID_HANDLE_VALUE : objects_.front().get(); }

private:
    friend HeldChain HoldChain(const std::wstring& path, ChainLeaf leaf, const TrustedSids& trusted);

    std::wstring path_;
    ChainVerdict verdict_ = ChainVerdict::Missing;
    std::vector<System::Win32::UniqueFile> objects_;  // the file first, then what keeps its chain in place
};

// Opens `path` and holds it with its chain, then judges, through those handles: the file, each folder from
// the file's final location up to its volume root, the objects of the path as written when it leads
// elsewhere (links on the way), and for tgc.exe each file and subfolder directly beside it. Only a path
// on a local fixed volume can be trusted.
HeldChain HoldChain(const std::wstring& path, ChainLeaf leaf, const TrustedSids& trusted);

}  // namespace Discovery
