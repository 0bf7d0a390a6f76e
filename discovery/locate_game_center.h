// Where the game center is installed: its path file first, then its uninstall entry.
// Nothing is cached; every call asks the machine again.
#pragma once

#include <windows.h>

#include <string>

#include "discovery/planting_guard.h"

namespace Discovery {

// The full path of tgc.exe, or empty when neither source names one. The path file's answer is taken
// without checking that the file exists. A failure to resolve the common application-data folder
// (System::Env::KnownPaths::Errors::Failed) passes through.
// With a guard (the client runs with administrator rights) a source is taken only when the guard trusts
// what it names, and the path file itself; one it does not trust is passed over as if it were absent.
std::wstring LocateGameCenter(PlantingGuard* guard = nullptr);

// <common application data>\<folder>\data\<fileName> holds the game-center folder as UTF-8;
// returns that folder joined with executableName, or empty when the file is missing, unreadable or empty.
std::wstring ReadPathFile(const std::wstring& folder, const std::wstring& executableName, const std::wstring& fileName,
                          PlantingGuard* guard = nullptr);

// "DisplayIcon" of the uninstall entry (32-bit view; the current user's before the machine's), cut at its
// last comma; empty unless it names an existing file that is not a folder. With a guard, a current-user
// value it does not trust gives way to the machine's.
std::wstring ReadUninstallEntry(PlantingGuard* guard = nullptr);

// Reads a value of up to 1024 bytes as text (up to its first NUL). Returns the Win32 status; on failure
// `text` becomes `defaultText`.
LSTATUS ReadRegistryString(HKEY key, const std::wstring& valueName, std::wstring& text,
                           const std::wstring& defaultText);

}  // namespace Discovery
