// Finding and driving the windows another process of the test shows (plain Win32, works across processes).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

struct WindowInfo {
    HWND hwnd;
    DWORD processId;
    std::wstring className;
    std::wstring title;
    RECT rect;  // screen coordinates
};

// Visible top-level windows of `processId`; of every process when it is 0.
std::vector<WindowInfo> VisibleTopLevelWindows(DWORD processId);

// A visible dialog (class "#32770") with exactly this title, of `processId` (any process when 0); null if none.
HWND FindDialogByTitle(const std::wstring& title, DWORD processId = 0);

// FindDialogByTitle, asked again until it answers or `timeoutMs` has passed.
HWND WaitForDialog(const std::wstring& title, DWORD processId, DWORD timeoutMs);

struct ControlInfo {
    HWND hwnd;
    int id;
    std::wstring className;
    std::wstring text;
    RECT rect;  // in the dialog's client coordinates
    LONG style;
    bool visible;
};

// The child windows of `dialog` in z order.
std::vector<ControlInfo> DialogControls(HWND dialog);

// The text of any window, also one of another process (WM_GETTEXT, never waiting on a hung window).
std::wstring WindowText(HWND hwnd, DWORD timeoutMs = 5000);

// Presses a push button of `dialog` with BM_CLICK; false when it is missing or did not answer in time.
bool ClickButton(HWND dialog, int id, DWORD timeoutMs = 15000);

// The window that has the keyboard focus in the thread that owns `hwnd`.
HWND FocusedWindowOfThread(HWND hwnd);

}  // namespace TestSupport
