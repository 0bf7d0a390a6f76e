#include "app/client_windows.h"

#include "errors/system_message.h"
#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/win_app.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

void ShowOutdatedNotification()
{
    // Shown straight through the prompt, so it needs its own application object like every notification.
    const Win32xx::CWinApp application;
    if (const Ui::NotificationEntry* entry = Ui::FindNotification(Ui::kOutdatedNotification))
        Ui::ShowInstallPrompt(Ui::NotificationMessage(*entry).c_str(), entry->buttonCaption);
}

std::wstring SystemMessageText(DWORD error)
{
    // The player reads it: the system's own language, not the English of the error objects.
    return Err::details::systemMessageText(error, 0);
}

std::wstring StartFailureMessage(const std::wstring& gameCenterPath, DWORD startError)
{
    return L"Failed to start " + gameCenterPath + L"\r\n" + SystemMessageText(startError);
}

void ShowStartFailureMessage(const std::wstring& message)
{
    MessageBoxW(nullptr, message.c_str(), nullptr, MB_ICONERROR);
}

}  // namespace ZGC
