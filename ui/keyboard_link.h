// A static text that behaves as a link for the keyboard: a tab stop that shows a focus mark, opens with
// Enter or Space, and tells accessibility clients that it is a link. The mouse stays the dialog's
// business: the static is not a notify static, so mouse messages over it still reach the dialog.
#pragma once

#include <windows.h>

namespace Ui {

// Sent to the link's parent when the keyboard (or an accessibility client) activates the link.
constexpr UINT kActivateLinkMessage = WM_APP + 1;

// Replaces the window procedure of `link` (a static with WS_TABSTOP); the previous procedure is kept
// in the control's user data and does everything the keyboard link does not.
void MakeKeyboardLink(HWND link);

// True for the keys that open a focused link: Enter and Space, on their first press (not a repeat).
bool OpensLink(WPARAM key, LPARAM keyFlags);

}  // namespace Ui
