// The folder key names the uninstall event; the game center derives the same key from the same folder,
// so every step here is part of the contract between the two programs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ZGC {

// Upper-cases one UTF-16 unit the way the key needs it: below 256 only a to z change; above, the user
// locale's upper-case mapping applies (one unit in, one unit out; the unit stays when that fails).
wchar_t UpperCaseUnitForKey(wchar_t unit);

// 32-bit FNV-1a over the UTF-16LE bytes of the normalised folder (upper-cased, one trailing separator
// dropped, backslashes turned into slashes); 0 when nothing is left to hash.
std::uint32_t ComputeFolderKey(std::wstring_view gameFolder);

// "<key in unsigned decimal>tgc_uninstall_mtx"
std::wstring UninstallEventName(std::uint32_t folderKey);

}  // namespace ZGC
