// The window procedures of a shown notification dialog.
#pragma once

#include <windows.h>

#include "ui/notification_dialog_state.h"

namespace Ui {

// The dialog procedure; the NotificationDialogState arrives as the creation parameter.
INT_PTR CALLBACK NotificationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the icon control with the icon kept in its user data, and nothing else.
LRESULT CALLBACK IconStaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the address behind control `id` (the action button or the support link) in the user's browser,
// as the desktop's user when this process has administrator rights.
void OpenLink(NotificationDialogState& state, int id);

}  // namespace Ui
