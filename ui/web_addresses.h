// The web pages the notifications open. Both live on one host.
#pragma once

#include <string>

namespace Ui {

inline constexpr wchar_t kWebHost[] = L"games.tarvo.com";

// Where the game center's installer is downloaded.
inline std::wstring InstallerAddress()
{
    return std::wstring(L"https://") + kWebHost + L"/tgcinstaller";
}

// Player support for the game center.
inline std::wstring SupportAddress()
{
    return std::wstring(L"https://") + kWebHost + L"/support/products/tgc/";
}

}  // namespace Ui
