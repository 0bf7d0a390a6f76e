#include "ui/message_dialog.h"

#include <windows.h>

#include "ui/notification_dialog.h"

namespace Ui {

namespace {

// The window the dialog belongs to: the last active popup of this thread's active window, if any.
HWND DialogOwner()
{
    const HWND active = ::GetActiveWindow();
    return active != nullptr ? ::GetLastActivePopup(active) : nullptr;
}

}  // namespace

std::int32_t ShowMessageDialog(const wchar_t* message, const NotificationOptions* options)
{
    const HWND owner = DialogOwner();
    const NotificationOptions copied = options != nullptr ? *options : NotificationOptions{};
    NotificationDialog dialog(owner, message != nullptr ? message : L"", kNotificationTitle, copied);
    return dialog.RunModal();
}

}  // namespace Ui
