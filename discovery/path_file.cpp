#include <exception>
#include <string>

#include "discovery/locate_game_center.h"
#include "discovery/path_file_text.h"
#include "libraries/system/win32/fs_path.h"
#include "libraries/system/win32/known_paths_win.h"
#include "libraries/system/win32/unique_resource.h"

namespace Discovery {
namespace {

// The game center may rewrite the file while we read: share reading and writing.
std::string ReadSharedFile(const std::wstring& path)
{
    System::Win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    return bytes;
}

}  // namespace

std::wstring ReadPathFile(const std::wstring& folder, const std::wstring& executableName, const std::wstring& fileName,
                          PlantingGuard* guard)
{
    // Not resolving the common application-data folder is an error for the caller, not an absent file.
    const System::FsPath file = System::Env::KnownPaths::ProgramDataFolder() / folder / L"data" / fileName;
    if (guard && !guard->trustsPathFile(file.text()))
        return {};

    std::wstring text;
    try {
        text = DecodePathFileText(ReadSharedFile(file.text()));
    } catch (const std::exception&) {
        return {};
    }
    if (text.empty())
        return {};

    System::FsPath gameCenterFolder(text);
    if (!gameCenterFolder.isRoot())
        gameCenterFolder.stripTrailingSeparator();
    std::wstring executable = (gameCenterFolder / executableName).text();
    if (guard && !guard->trustsGameCenter(executable))
        return {};
    return executable;
}

}  // namespace Discovery
