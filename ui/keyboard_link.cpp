#include "ui/keyboard_link.h"

#include "ui/framework/gdi_scopes.h"
#include "ui/link_accessible.h"

namespace Ui {

namespace {

constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;  // a repeat of a key held down

WNDPROC StaticProcOf(HWND link)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(link, GWLP_USERDATA));
}

bool FocusCuesHidden(HWND link)
{
    return (::SendMessageW(link, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

// The static has painted its text; the focus mark goes round its whole client area.
void DrawFocusMark(HWND link)
{
    if (::GetFocus() != link || FocusCuesHidden(link))
        return;
    RECT client{};
    ::GetClientRect(link, &client);
    const WindowDc dc(link);
    if (dc.get() != nullptr)
        ::DrawFocusRect(dc.get(), &client);
}

LRESULT CALLBACK KeyboardLinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC staticProc = StaticProcOf(link);
    switch (message) {
        case WM_GETDLGCODE:
            // Enter must reach the link rather than press the default button, and the characters of
            // Enter and Space must not be taken for mnemonics (the dialog would beep at them).
            if (const auto* key = reinterpret_cast<const MSG*>(lParam);
                key != nullptr && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
                (key->wParam == VK_RETURN || key->wParam == VK_SPACE))
                return DLGC_WANTMESSAGE;
            return ::CallWindowProcW(staticProc, link, message, wParam, lParam);
        case WM_KEYDOWN:
            if (OpensLink(wParam, lParam)) {
                ::SendMessageW(::GetParent(link), kActivateLinkMessage, static_cast<WPARAM>(::GetDlgCtrlID(link)), 0);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE: {
            const LRESULT result = ::CallWindowProcW(staticProc, link, message, wParam, lParam);
            ::InvalidateRect(link, nullptr, TRUE);  // the focus mark comes or goes
            return result;
        }
        case WM_PAINT: {
            const LRESULT result = ::CallWindowProcW(staticProc, link, message, wParam, lParam);
            DrawFocusMark(link);
            return result;
        }
        case WM_GETOBJECT:
            if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
                if (const LRESULT object = LinkAccessibleObject(link, wParam); object > 0)
                    return object;
            }
            break;
        case kActivateLinkMessage:  // the accessible object's default action
            ::SendMessageW(::GetParent(link), kActivateLinkMessage, static_cast<WPARAM>(::GetDlgCtrlID(link)), 0);
            return 0;
        default:
            break;
    }
    return ::CallWindowProcW(staticProc, link, message, wParam, lParam);
}

}  // namespace

bool OpensLink(WPARAM key, LPARAM keyFlags)
{
    return (key == VK_RETURN || key == VK_SPACE) && (keyFlags & kKeyWasDown) == 0;
}

void MakeKeyboardLink(HWND link)
{
    if (link == nullptr)
        return;
    const LONG_PTR staticProc = ::GetWindowLongPtrW(link, GWLP_WNDPROC);
    ::SetWindowLongPtrW(link, GWLP_USERDATA, staticProc);
    ::SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyboardLinkProc));
}

}  // namespace Ui
