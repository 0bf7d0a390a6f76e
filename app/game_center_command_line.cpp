#include "app/game_center_command_line.h"

#include "app/module_folder.h"

namespace ZGC {

std::wstring QuoteArgument(std::wstring_view text)
{
    std::wstring quoted = L"\"";
    std::size_t pendingBackslashes = 0;
    for (const wchar_t unit : text) {
        if (unit == L'\\') {
            ++pendingBackslashes;
            continue;
        }
        if (unit == L'"') {
            quoted.append(pendingBackslashes * 2 + 1, L'\\');
        } else {
            quoted.append(pendingBackslashes, L'\\');
        }
        quoted.push_back(unit);
        pendingBackslashes = 0;
    }
    // Before the closing quote mark every backslash must be doubled, or it would escape the quote.
    quoted.append(pendingBackslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

std::wstring ChangeClientTypeArguments(std::wstring_view clientType)
{
    std::wstring text = L"-ct -t ";
    text += clientType;
    return text;
}

std::wstring InstallArguments(std::wstring_view installArgument)
{
    std::wstring text = L"--install -g ";
    text += installArgument;
    return text;
}

std::wstring GameCenterArgumentText(std::wstring_view gameFolder, std::wstring_view operationArguments)
{
    const std::wstring folder = QuoteArgument(gameFolder);
    std::wstring text = L"--target-game-folder ";
    text += folder;
    text += L' ';
    text += operationArguments;
    text += L" -d ";
    text += folder;
    return text;
}

std::wstring GameCenterProcessCommandLine(std::wstring_view gameCenterPath, std::wstring_view argumentText)
{
    std::wstring commandLine = L"\"";
    commandLine += gameCenterPath;
    commandLine += L"\" ";
    commandLine += argumentText;
    return commandLine;
}

std::wstring UninstallCommandLine(std::wstring_view gameCenterPath, std::wstring_view gameFolder, bool quiet)
{
    const std::wstring folder = QuoteArgument(gameFolder);
    std::wstring commandLine = L"\"";
    commandLine += gameCenterPath;
    commandLine += L"\" --uninstall -d ";
    commandLine += folder;
    commandLine += L' ';
    if (quiet)
        commandLine += L"--pa";
    commandLine += L" --target-game-folder ";
    commandLine += folder;
    return commandLine;
}

std::wstring GameCenterFolder(const std::wstring& gameCenterPath)
{
    return WithoutLastComponent(gameCenterPath);
}

}  // namespace ZGC
