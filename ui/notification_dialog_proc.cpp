#include "ui/notification_dialog_proc.h"

#include <windowsx.h>

#include <algorithm>

#include "libraries/system/win32/unique_resource.h"
#include "libraries/system/win32/web_address_open.h"
#include "ui/framework/gdi_scopes.h"
#include "ui/keyboard_link.h"
#include "ui/link_colour.h"
#include "ui/notification_layout.h"

namespace Ui {

namespace {

constexpr int kLastControlId = 25;
constexpr WPARAM kCancel = IDCANCEL;  // Escape, the close box, Alt+F4
constexpr WPARAM kCloseCommand = IDCLOSE;

NotificationDialogState* StateOf(HWND dialog)
{
    return reinterpret_cast<NotificationDialogState*>(::GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

void SetFont(HWND control, HGDIOBJ font)
{
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// Whether a point in the dialog's client coordinates lies on the support link.
bool OverSupportLink(HWND dialog, const NotificationDialogState& state, LPARAM lParam)
{
    const HWND link = state.supportId != 0 ? ::GetDlgItem(dialog, state.supportId) : nullptr;
    if (link == nullptr)
        return false;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(dialog, &point);
    RECT rect{};
    ::GetWindowRect(link, &rect);
    return ::PtInRect(&rect, point) != FALSE;
}

void CentreOnOwner(HWND dialog)
{
    const HWND owner = ::GetParent(dialog);
    if (owner == nullptr)
        return;  // DS_CENTER has placed it on the screen
    RECT ownerRect{};
    RECT dialogRect{};
    ::GetWindowRect(owner, &ownerRect);
    ::GetWindowRect(dialog, &dialogRect);
    const int width = dialogRect.right - dialogRect.left;
    const int height = dialogRect.bottom - dialogRect.top;
    const int x = (ownerRect.left + ownerRect.right) / 2 - width / 2;
    const int y = (ownerRect.top + ownerRect.bottom) / 2 - height / 2;
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR OnInitDialog(HWND dialog, NotificationDialogState& state)
{
    ::SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    for (int id = kFirstStaticId; id <= state.lastStaticId; ++id) {
        const HWND control = ::GetDlgItem(dialog, id);
        if (control == nullptr)
            break;
        SetFont(control, id == state.supportId ? state.linkFont.get() : state.messageFont.get());
    }
    for (int id = 1; id <= kLastControlId; ++id) {
        if (const HWND control = ::GetDlgItem(dialog, id))
            SetFont(control, state.messageFont.get());
    }
    ::SetFocus(::GetDlgItem(dialog, state.defaultControlId));
    if (state.supportId != 0)
        MakeKeyboardLink(::GetDlgItem(dialog, state.supportId));

    if (const HWND icon = ::GetDlgItem(dialog, kIconControlId)) {
        ::SetWindowLongPtrW(icon, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.icon.get()));
        ::SetWindowLongPtrW(icon, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IconStaticProc));
    }

    CentreOnOwner(dialog);
    ::SetForegroundWindow(dialog);
    return FALSE;  // the focus is set
}

INT_PTR OnEraseBackground(HWND dialog, const NotificationDialogState& state, HDC dc)
{
    RECT client{};
    ::GetClientRect(dialog, &client);
    System::Win32::UniqueGdiObject buttonFace(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    ::FillRect(dc, &client, static_cast<HBRUSH>(buttonFace.get()));

    RECT band = client;
    band.bottom = std::max(state.messageRect.bottom, state.supportRect.bottom) + 24;
    ::FillRect(dc, &band, static_cast<HBRUSH>(state.windowBrush.get()));
    return TRUE;
}

INT_PTR OnStaticColour(const NotificationDialogState& state, HDC dc, HWND control)
{
    if (state.supportId != 0 && ::GetDlgCtrlID(control) == state.supportId) {
        ::SetTextColor(dc, LinkTextColour(state.visited, HighContrastOn(), ::GetSysColor(COLOR_HOTLIGHT)));
        ::SetBkMode(dc, TRANSPARENT);
    } else {
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    }
    return reinterpret_cast<INT_PTR>(state.windowBrush.get());
}

// The link was clicked, or activated from the keyboard: open it and repaint it in its new colour.
void ActivateSupportLink(HWND dialog, NotificationDialogState& state)
{
    OpenLink(state, state.supportId);
    ::InvalidateRect(::GetDlgItem(dialog, state.supportId), nullptr, TRUE);
}

INT_PTR OnCommand(NotificationDialogState& state, WPARAM command)
{
    if (command == kCloseCommand)
        return TRUE;
    if (command == kCancel) {
        state.modal.result = IDCANCEL;
    } else {
        if (state.actionIsButton && command == state.actionId)
            OpenLink(state, state.actionId);
        state.modal.result = static_cast<std::int32_t>(command);
    }
    state.modal.done = true;
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK NotificationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog(dialog, *reinterpret_cast<NotificationDialogState*>(lParam));

    NotificationDialogState* state = StateOf(dialog);
    if (state == nullptr)
        return FALSE;

    switch (message) {
        case WM_ERASEBKGND:
            return OnEraseBackground(dialog, *state, reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLORSTATIC:
            return OnStaticColour(*state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MOUSEMOVE:
            ::SetCursor(::LoadCursorW(nullptr, OverSupportLink(dialog, *state, lParam) ? IDC_HAND : IDC_ARROW));
            return FALSE;
        case WM_LBUTTONDOWN:
            if (OverSupportLink(dialog, *state, lParam))
                state->pressed = true;
            return FALSE;
        case WM_LBUTTONUP:
            if (OverSupportLink(dialog, *state, lParam) && state->pressed) {
                state->pressed = false;
                ActivateSupportLink(dialog, *state);
            }
            return FALSE;
        case kActivateLinkMessage:
            if (state->supportId != 0 && wParam == state->supportId)
                ActivateSupportLink(dialog, *state);
            return TRUE;
        case WM_COMMAND:
            return OnCommand(*state, wParam);
        case WM_NCDESTROY:
            // Destroyed from outside (its owner went away): the modal loop must still end.
            if (!state->modal.done) {
                state->modal.result = IDCANCEL;
                state->modal.done = true;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

LRESULT CALLBACK IconStaticProc(HWND control, UINT message, WPARAM, LPARAM)
{
    if (message == WM_PAINT) {
        PaintScope paint(control);
        ::DrawIcon(paint.get(), 0, 0, reinterpret_cast<HICON>(::GetWindowLongPtrW(control, GWLP_USERDATA)));
    }
    return 0;
}

void OpenLink(NotificationDialogState& state, int id)
{
    const auto open = [&state](const wchar_t* target) {
        if (System::Win32::OpenWebAddress(target))
            state.visited = true;
    };
    if (state.actionTarget && state.actionId != 0 && id == state.actionId)
        open(state.actionTarget.get());
    if (state.supportTarget && state.supportId != 0 && id == state.supportId)
        open(state.supportTarget.get());
}

}  // namespace Ui
