// Known folders by identifier; a folder Windows cannot resolve raises Errors::Failed naming it in words.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "errors/err.h"
#include "libraries/system/win32/fs_path.h"

namespace System::Env::KnownPaths {

namespace Errors {

struct Base_traits {
    using base = Err::Error2;
    static const std::string& name();  // "Error.KnownPaths"
};
using Base = Err::GenericError<Base_traits>;

struct Failed_traits {
    using base = Base;
    static const std::string& name();  // "Error.KnownPaths.Failed"
};
using Failed = Err::GenericError<Failed_traits>;

}  // namespace Errors

// The folder's path exactly as Windows gives it; throws Errors::Failed (logged) when it cannot.
std::wstring GetKnownFolder(const KNOWNFOLDERID& id);

// The common application-data folder, without a trailing separator unless it is a root.
FsPath ProgramDataFolder();

// "FOLDERID_<name> {GUID}" for a folder of the name table, else just "{GUID}".
// Throws ATL::CAtlException(E_OUTOFMEMORY) when the identifier text cannot be allocated.
std::string KnownFolderDisplayName(const KNOWNFOLDERID& id);

}  // namespace System::Env::KnownPaths
