#include <exception>
#include <string>

#include "discovery/locate_game_center.h"
#include "discovery/path_file_text.h"
#include "libraries/system/win32/fs_path.h"
#include "libraries/system/win32/known_paths_win.h"
#include "log/log_line.h"

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

// The bytes as they are: printable ASCII kept, every other byte (a mark, a line end, UTF-8) as \\xNN.
std::wstring BytesText(const std::string& bytes)
{
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x20 && value < 0x7F) {
            text += static_cast<wchar_t>(value);
        } else {
            text += L"\\x";
            text += kDigits[value >> 4];
            text += kDigits[value & 0xF];
        }
    }
    return text;
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

    const std::string bytes = ReadWholeFile(held.file());
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Path file %1 holds %2 bytes: %3",
              {file.text(), std::to_wstring(bytes.size()), BytesText(bytes)});
    std::wstring text;
    try {
        text = DecodePathFileText(bytes);
    } catch (const std::exception&) {
        Log::line(Log::kWarningLevel, LOG_LOCATION(), L"Passed over %1: its text does not decode", {file.text()});
        return {};
    }
    if (text.empty()) {
        Log::line(Log::kWarningLevel, LOG_LOCATION(), L"Passed over %1: it names no folder", {file.text()});
        return {};
    }

    System::FsPath gameCenterFolder(text);
    if (!gameCenterFolder.isRoot())
        gameCenterFolder.stripTrailingSeparator();
    return (gameCenterFolder / executableName).text();
}

}  // namespace Discovery
