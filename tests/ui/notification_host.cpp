// Shows one notification the way the client does, for the display tests to drive from outside.
//   notification_host notification <code>     ShowNotification(code)
//   notification_host prompt <code>           the entry's prompt inside a CWinApp, with its result
//   notification_host owned <code>            the same, while a window of this thread is active
//   notification_host buttons <list> <action> ShowMessageDialog with the list ('|' for line feeds);
//                                             "-" for no action caption
// Writes result=, quit= and owner= lines to the file named by TGC_HOST_RESULT.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/gdi_scopes.h"
#include "ui/framework/win_app.h"
#include "ui/framework/win_exception.h"
#include "ui/message_dialog.h"
#include "ui/notification_catalogue.h"
#include "ui/web_addresses.h"

namespace {

constexpr wchar_t kOwnerClass[] = L"TgcTestOwner";
constexpr wchar_t kOwnerTitle[] = L"Test Owner";

struct Outcome {
    std::wstring result = L"none";
    std::wstring owner = L"none";
};

std::vector<std::wstring> Arguments()
{
    int count = 0;
    System::Win32::UniqueLocalMemory argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    const auto* args = static_cast<wchar_t**>(argv.get());
    std::vector<std::wstring> result;
    for (int i = 1; args != nullptr && i < count; ++i)
        result.emplace_back(args[i]);
    return result;
}

std::int32_t ShowPrompt(std::int32_t code, Outcome& outcome)
{
    const Ui::NotificationEntry* entry = Ui::FindNotification(code);
    if (entry == nullptr) {
        outcome.result = L"noentry";
        return 0;
    }
    const std::wstring message = Ui::NotificationMessage(*entry);
    const std::int32_t result = entry->kind == Ui::NotificationKind::Install
                                    ? Ui::ShowInstallPrompt(message.c_str(), entry->buttonCaption)
                                    : Ui::ShowSupportPrompt(message.c_str());
    outcome.result = std::to_wstring(result);
    return result;
}

// A plain top-level window of this thread, made active so that the dialog takes it as its owner.
HWND CreateActiveOwner()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = kOwnerClass;
    ::RegisterClassW(&windowClass);
    const HWND owner = ::CreateWindowExW(0, kOwnerClass, kOwnerTitle, WS_OVERLAPPEDWINDOW, 100, 100, 900, 600, nullptr,
                                         nullptr, windowClass.hInstance, nullptr);
    ::ShowWindow(owner, SW_SHOWNORMAL);
    ::SetForegroundWindow(owner);
    ::SetActiveWindow(owner);
    const ULONGLONG deadline = ::GetTickCount64() + 5000;
    MSG message{};
    while (::GetActiveWindow() != owner && ::GetTickCount64() < deadline) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        ::Sleep(10);
    }
    return owner;
}

void Run(const std::vector<std::wstring>& args, Outcome& outcome)
{
    const std::wstring mode = args.empty() ? L"" : args[0];
    const auto code = [&args]() -> std::int32_t { return args.size() > 1 ? std::stoi(args[1]) : 0; };
    if (mode == L"notification") {
        Ui::ShowNotification(code());
        return;
    }
    Win32xx::CWinApp app;
    if (mode == L"prompt") {
        ShowPrompt(code(), outcome);
    } else if (mode == L"owned") {
        Ui::UniqueWindow owner(CreateActiveOwner());
        ShowPrompt(code(), outcome);
        if (!::IsWindow(owner.get())) {
            outcome.owner = L"gone";
            static_cast<void>(owner.release());  // destroyed with the dialog already
        } else {
            outcome.owner = ::IsWindowEnabled(owner.get()) ? L"enabled" : L"disabled";
        }
    } else if (mode == L"buttons" && args.size() > 2) {
        std::wstring list = args[1];
        for (wchar_t& c : list) {
            if (c == L'|')
                c = L'\n';
        }
        const std::wstring installer = Ui::InstallerAddress();
        const std::wstring support = Ui::SupportAddress();
        Ui::NotificationOptions options{};
        options.buttons = list.c_str();
        options.actionCaption = args[2] == L"-" ? nullptr : args[2].c_str();
        options.actionTarget = installer.c_str();
        options.supportCaption = L"Contact Support";
        options.supportTarget = support.c_str();
        outcome.result = std::to_wstring(Ui::ShowMessageDialog(L"Choose one.", &options));
    } else {
        outcome.result = L"usage";
    }
}

void WriteOutcome(const Outcome& outcome, const std::wstring& quit)
{
    wchar_t path[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"TGC_HOST_RESULT", path, MAX_PATH) == 0)
        return;
    FILE* file = _wfopen(path, L"w");
    if (file == nullptr)
        return;
    std::fwprintf(file, L"result=%ls\nquit=%ls\nowner=%ls\n", outcome.result.c_str(), quit.c_str(),
                  outcome.owner.c_str());
    std::fclose(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Outcome outcome;
    try {
        Run(Arguments(), outcome);
    } catch (const Win32xx::CWinException&) {
        outcome.result = L"exception";
    }
    // A WM_QUIT that ended the dialog's loop must still be waiting for an outer loop.
    MSG message{};
    const std::wstring quit = ::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)
                                  ? std::to_wstring(static_cast<int>(message.wParam))
                                  : L"none";
    WriteOutcome(outcome, quit);
    return 0;
}
