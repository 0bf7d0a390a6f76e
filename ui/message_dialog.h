// Shows one notification as a modal dialog laid out at run time.
#pragma once

#include <cstdint>

#include "ui/notification_options.h"

namespace Ui {

// The dialog's title.
inline constexpr wchar_t kNotificationTitle[] = L"Tarvo Game Center";

// Blocks until the dialog has ended. Returns the id of the button that ended it, 2 when it was cancelled
// (or no memory was left for its template), -1 when the window could not be created.
// `message` and `options` may be null.
std::int32_t ShowMessageDialog(const wchar_t* message, const NotificationOptions* options);

}  // namespace Ui
