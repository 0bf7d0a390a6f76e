#include "app/client_windows.h"

#include "app/classic_space.h"
#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/win_app.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

namespace {

constexpr std::int32_t kOutdatedNotification = 108;
}  // namespace

void ShowOutdatedNotification()
{
    // Shown straight through the prompt, so it needs its own application object like every notification.
    const Win32xx::CWinApp application;
    if (const Ui::NotificationEntry* entry = Ui::FindNotification(kOutdatedNotification))
        Ui::ShowInstallPrompt(Ui::NotificationMessage(*entry).c_str(), entry->buttonCaption);
}

std::wstring SystemMessageText(DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const System::Win32::UniqueLocalMemory owner(buffer);
    if (length == 0 || buffer == nullptr)
        return {};
    std::wstring text(buffer, length);
    while (!text.empty() && IsClassicSpace(text.back()))
        text.pop_back();
    std::size_t first = 0;
    while (first < text.size() && IsClassicSpace(text[first]))
        ++first;
    return text.substr(first);
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
