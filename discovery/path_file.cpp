#include <exception>
#include <string>

#include "discovery/locate_game_center.h"
#include "discovery/path_file_text.h"
#include "libraries/system/win32/fs_path.h"
#include "libraries/system/win32/known_paths_win.h"

namespace Discovery {
namespace {

std::string ReadWholeFile(HANDLE file)
{
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    return bytes;
}

}  // namespace

std::wstring ReadPathFile(const std::wstring& folder, const std::wstring& executableName, const std::wstring& fileName,
                          const TrustedSids& trusted)
{
    // Not resolving the common application-data folder is an error for the caller, not an absent file.
    const System::FsPath file = System::Env::KnownPaths::ProgramDataFolder() / folder / L"data" / fileName;
    // Held while it is read: the bytes come from the file that was judged.
    const HeldChain held = HoldChain(file.text(), ChainLeaf::PathFile, trusted);
    if (!held.trusted())
        return {};

    std::wstring text;
    try {
        text = DecodePathFileText(ReadWholeFile(held.file()));
    } catch (const std::exception&) {
        return {};
    }
    if (text.empty())
        return {};

    System::FsPath gameCenterFolder(text);
    if (!gameCenterFolder.isRoot())
        gameCenterFolder.stripTrailingSeparator();
    return (gameCenterFolder / executableName).text();
}

}  // namespace Discovery
