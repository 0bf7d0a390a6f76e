// Where the game center is installed: its path file first, then its uninstall entry. One lookup serves one
// operation: the tgc.exe it finds stays held, with its chain, until the operation has started it, and no
// verdict outlives it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "discovery/held_chain.h"
#include "discovery/trust_rule.h"

namespace Discovery {

// What the sources hold, as read.
struct GameCenterSources {
    // tgc.exe in the folder a trusted, non-empty path file names (not checked to exist); empty otherwise.
    std::wstring pathFileExecutable;
    // The "DisplayIcon" values read, in the order they are tried: the current user's (when the rule reads
    // it), then the machine's.
    std::vector<std::wstring> entryValues;
};

// The program an entry value names: the text before its last comma (an icon index follows it). Empty when
// that is not a file called tgc.exe: another program is never a candidate.
std::wstring EntryExecutable(const std::wstring& value);

// The choice among the sources, given how `hold` finds each file: the path file's tgc.exe, then each
// entry's. A candidate someone else could have planted is passed over as if absent; a missing one ends
// the lookup (not installed), a path file naming a folder without tgc.exe included. Nothing held: none.
HeldChain ChooseGameCenter(const GameCenterSources& sources, const std::function<HeldChain(const std::wstring&)>& hold);

// Reads the sources as `rule` allows and holds the tgc.exe it trusts. A failure to resolve the common
// application-data folder (System::Env::KnownPaths::Errors::Failed) passes through.
HeldChain LocateGameCenter(const TrustRule& rule);

// <common application data>\<folder>\data\<fileName> holds the game-center folder as UTF-8; returns that
// folder joined with executableName, or empty when the file or its chain is not trusted, or it is
// missing, unreadable or empty. The file is read through the handle its check was made on.
std::wstring ReadPathFile(const std::wstring& folder, const std::wstring& executableName, const std::wstring& fileName,
                          const TrustedSids& trusted);

// The uninstall entry's "DisplayIcon" values that read (32-bit view): the current user's first when
// asked for, then the machine's.
std::vector<std::wstring> ReadUninstallEntryValues(bool currentUser);

// Reads a value of up to 1024 bytes as text (up to its first NUL). Returns the Win32 status; on failure
// `text` becomes `defaultText`.
LSTATUS ReadRegistryString(HKEY key, const std::wstring& valueName, std::wstring& text,
                           const std::wstring& defaultText);

}  // namespace Discovery
