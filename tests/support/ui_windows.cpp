#include "support/ui_windows.h"

#include <iterator>
#include <utility>

namespace TestSupport {

namespace {

std::wstring ClassName(HWND hwnd)
{
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return name;
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM context)
{
    auto& found = *reinterpret_cast<std::pair<DWORD, std::vector<WindowInfo>>*>(context);
    if (!::IsWindowVisible(hwnd))
        return TRUE;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hwnd, &processId);
    if (found.first != 0 && processId != found.first)
        return TRUE;
    WindowInfo info{hwnd, processId, ClassName(hwnd), WindowText(hwnd), {}};
    ::GetWindowRect(hwnd, &info.rect);
    found.second.push_back(std::move(info));
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM context)
{
    auto& found = *reinterpret_cast<std::pair<HWND, std::vector<ControlInfo>>*>(context);
    if (::GetParent(hwnd) != found.first)
        return TRUE;  // only the dialog's own controls
    ControlInfo info{hwnd,
                     ::GetDlgCtrlID(hwnd),
                     ClassName(hwnd),
                     WindowText(hwnd),
                     {},
                     static_cast<LONG>(::GetWindowLongPtrW(hwnd, GWL_STYLE)),
                     ::IsWindowVisible(hwnd) != FALSE};
    ::GetWindowRect(hwnd, &info.rect);
    ::MapWindowPoints(nullptr, found.first, reinterpret_cast<POINT*>(&info.rect), 2);
    found.second.push_back(std::move(info));
    return TRUE;
}

}  // namespace

std::vector<WindowInfo> VisibleTopLevelWindows(DWORD processId)
{
    std::pair<DWORD, std::vector<WindowInfo>> found{processId, {}};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

HWND FindDialogByTitle(const std::wstring& title, DWORD processId)
{
    for (const WindowInfo& window : VisibleTopLevelWindows(processId)) {
        if (window.className == L"#32770" && window.title == title)
            return window.hwnd;
    }
    return nullptr;
}

HWND WaitForDialog(const std::wstring& title, DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (const HWND dialog = FindDialogByTitle(title, processId))
            return dialog;
        if (::GetTickCount64() >= deadline)
            return nullptr;
        ::Sleep(50);
    }
}

std::vector<ControlInfo> DialogControls(HWND dialog)
{
    std::pair<HWND, std::vector<ControlInfo>> found{dialog, {}};
    ::EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

std::wstring WindowText(HWND hwnd, DWORD timeoutMs)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                               timeoutMs, &copied))
        return {};
    text.resize(copied);
    return text;
}

bool ClickButton(HWND dialog, int id, DWORD timeoutMs)
{
    const HWND button = ::GetDlgItem(dialog, id);
    if (button == nullptr)
        return false;
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

HWND FocusedWindowOfThread(HWND hwnd)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

}  // namespace TestSupport
