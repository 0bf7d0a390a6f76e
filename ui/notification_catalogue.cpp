#include "ui/notification_catalogue.h"

#include "ui/framework/win_app.h"
#include "ui/message_dialog.h"
#include "ui/notification_options.h"
#include "ui/web_addresses.h"

namespace Ui {

namespace {

constexpr wchar_t kInstallLine[] = L"Please install the application using the installer.";
constexpr wchar_t kGameRunningHelp[] = L"Can't see the game? Go to Player Support.";
constexpr wchar_t kInstallCaption[] = L"Install Tarvo Game Center";
constexpr wchar_t kSupportCaption[] = L"Contact Support";

constexpr NotificationEntry kCatalogue[] = {
    {kUpdateNotification, NotificationKind::Install, L"Tarvo Game Center is required to update this game.",
     kInstallLine, kInstallCaption},
    {kUninstallNotification, NotificationKind::Install, L"Tarvo Game Center is required to uninstall this game.",
     kInstallLine, kInstallCaption},
    {kChangeClientTypeNotification, NotificationKind::Install,
     L"Tarvo Game Center is required to change client type for this game.", kInstallLine, kInstallCaption},
    {kOutdatedNotification, NotificationKind::Install, L"Your version of Tarvo Game Center is outdated.",
     L"Please reinstall the application using the installer.", L"Reinstall Tarvo Game Center"},
    {kGeneralNotification, NotificationKind::Install, L"Tarvo Game Center is required.", kInstallLine, kInstallCaption},
    {kGameRunningNotification, NotificationKind::Support,
     L"The game is already running. You can continue the current game session or close it.", kGameRunningHelp,
     L"Close"},
    {kOtherGameRunningNotification, NotificationKind::Support,
     L"Another game is running. To launch this game, first close the running one.", kGameRunningHelp, L"Close"},
};

}  // namespace

const NotificationEntry* FindNotification(std::int32_t code)
{
    for (const NotificationEntry& entry : kCatalogue) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

std::wstring NotificationMessage(const NotificationEntry& entry)
{
    return std::wstring(entry.firstLine) + L'\n' + entry.secondLine;
}

void ShowNotification(std::int32_t code)
{
    Win32xx::CWinApp app;
    const NotificationEntry* entry = FindNotification(code);
    if (entry == nullptr)
        return;
    const std::wstring message = NotificationMessage(*entry);
    if (entry->kind == NotificationKind::Install)
        ShowInstallPrompt(message.c_str(), entry->buttonCaption);
    else
        ShowSupportPrompt(message.c_str());
}

std::int32_t ShowInstallPrompt(const wchar_t* message, const wchar_t* buttonCaption)
{
    const std::wstring support = SupportAddress();
    const std::wstring installer = InstallerAddress();
    NotificationOptions options{};
    options.buttons = L"";
    options.supportCaption = kSupportCaption;
    options.supportTarget = support.c_str();
    if (buttonCaption != nullptr) {
        options.actionCaption = buttonCaption;
        options.actionTarget = installer.c_str();
    }
    return ShowMessageDialog(message, &options);
}

std::int32_t ShowSupportPrompt(const wchar_t* message)
{
    const std::wstring support = SupportAddress();
    NotificationOptions options{};
    options.buttons = L"Close";
    options.supportCaption = kSupportCaption;
    options.supportTarget = support.c_str();
    return ShowMessageDialog(message, &options);
}

}  // namespace Ui
