// The command lines the game center receives. The game folder is quoted by the Windows argument rules
// so that the game center's own parser gets back exactly the folder; everything else is fixed text.
#pragma once

#include <string>
#include <string_view>

namespace ZGC {

// Puts text between quote marks so that CommandLineToArgvW yields it unchanged: backslashes are doubled
// where they precede a quote mark (the closing one included), and a quote mark inside becomes \".
std::wstring QuoteArgument(std::wstring_view text);

// Operation arguments of the ordinary operations.
inline constexpr wchar_t kOpenArguments[] = L"--open";
inline constexpr wchar_t kUpdateArguments[] = L"--update";
inline constexpr wchar_t kVerifyIntegrityArguments[] = L"--verify-integrity";
// "-ct -t <type>": the type goes in as given, so a type with a blank arrives as two tokens.
std::wstring ChangeClientTypeArguments(std::wstring_view clientType);
// "--install -g <argument>", the argument as given.
std::wstring InstallArguments(std::wstring_view installArgument);

// --target-game-folder "<folder>" <operation arguments> -d "<folder>"
std::wstring GameCenterArgumentText(std::wstring_view gameFolder, std::wstring_view operationArguments);

// "<game center>" <argument text>
std::wstring GameCenterProcessCommandLine(std::wstring_view gameCenterPath, std::wstring_view argumentText);

// "<game center>" --uninstall -d "<folder>" --pa --target-game-folder "<folder>" ("--pa" only when quiet;
// otherwise two blanks stand in its place).
std::wstring UninstallCommandLine(std::wstring_view gameCenterPath, std::wstring_view gameFolder, bool quiet);

// The game center's own folder (its path without the last component): the working directory of its starts.
std::wstring GameCenterFolder(const std::wstring& gameCenterPath);

}  // namespace ZGC
