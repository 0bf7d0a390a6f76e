// The notifications the client can show, by code, and the calls that show them.
#pragma once

#include <cstdint>
#include <string>

namespace Ui {

// The notification codes: those the client's operations show, and those a caller may only ask for.
inline constexpr std::int32_t kUpdateNotification = 103;
inline constexpr std::int32_t kUninstallNotification = 105;
inline constexpr std::int32_t kChangeClientTypeNotification = 106;
inline constexpr std::int32_t kOutdatedNotification = 108;  // any operation, when the game center is too old
inline constexpr std::int32_t kGeneralNotification = 110;   // open, verify, install
inline constexpr std::int32_t kGameRunningNotification = 111;
inline constexpr std::int32_t kOtherGameRunningNotification = 112;

enum class NotificationKind {
    Install,  // action button opens the installer download page
    Support,  // a "Close" button only
};

struct NotificationEntry {
    std::int32_t code;
    NotificationKind kind;
    const wchar_t* firstLine;
    const wchar_t* secondLine;
    const wchar_t* buttonCaption;
};

// The entry of `code`, or null when the code has none.
const NotificationEntry* FindNotification(std::int32_t code);

// First line, a line feed, second line.
std::wstring NotificationMessage(const NotificationEntry& entry);

// Shows the entry of `code` inside its own CWinApp and returns once the user has closed it; a code
// without an entry shows nothing. CWinException from the application object reaches the caller.
void ShowNotification(std::int32_t code);

// The caller brackets these two with a CWinApp. They return the dialog result, which callers ignore.
std::int32_t ShowInstallPrompt(const wchar_t* message, const wchar_t* buttonCaption);
std::int32_t ShowSupportPrompt(const wchar_t* message);

}  // namespace Ui
