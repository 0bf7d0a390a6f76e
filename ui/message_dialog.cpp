#include "ui/message_dialog.h"

#include <windows.h>

#include "libraries/system/win32/com_scope.h"
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
    // An apartment for the dialog's life: accessibility clients get the link's description through COM,
    // and an elevated process hands addresses to the desktop's shell through it.
    const System::Win32::ComScope com;
    const HWND owner = DialogOwner();
    const NotificationOptions copied = options != nullptr ? *options : NotificationOptions{};
    NotificationDialog dialog(owner, message != nullptr ? message : L"", kNotificationTitle, copied);
    return dialog.RunModal();
}

}  // namespace Ui
