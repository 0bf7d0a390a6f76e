#include "installer_support.h"

#include <algorithm>
#include <filesystem>

#include "app/folder_key.h"
#include "libraries/system/win32/unique_resource.h"

#include "support/test_paths.h"
#include "support/ui_windows.h"

namespace InstallerTests {

namespace {

constexpr DWORD kPollMs = 20;

std::wstring WinePath(const char* hostPath)
{
    std::wstring path = L"Z:" + TestSupport::Utf8ToWide(hostPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

const ULONGLONG kStart = GetTickCount64();

}  // namespace

std::wstring ExamplePath(const std::wstring& name)
{
    return WinePath(TGC_INSTALLER_EXAMPLES) + L"\\" + name;
}

std::wstring BuiltClientPath()
{
    return WinePath(TGC_CLIENT_EXE);
}

ULONGLONG Now()
{
    return GetTickCount64() - kStart;
}

InstallerRun::InstallerRun(const std::wstring& application, const std::wstring& commandLine)
    : process_(application, commandLine)
{
}

bool InstallerRun::stillRunningAfter(DWORD ms)
{
    return !watchUntil(GetTickCount64() + ms);
}

bool InstallerRun::finish(DWORD timeoutMs)
{
    return watchUntil(GetTickCount64() + timeoutMs);
}

bool InstallerRun::watchUntil(ULONGLONG deadline)
{
    for (;;) {
        for (const auto& window : TestSupport::VisibleTopLevelWindows(0)) {
            windowsSeen_.push_back(window.className + L" " + window.title);
            PostMessageW(window.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        if (process_.waitForExit(kPollMs)) {
            if (endedAt_ == 0)
                endedAt_ = Now();
            return true;
        }
        if (GetTickCount64() >= deadline)
            return false;
    }
}

InstallerRun RunMsiexec(const std::wstring& arguments)
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring msiexec = std::wstring(system) + L"\\msiexec.exe";
    return InstallerRun(msiexec, L"\"" + msiexec + L"\" " + arguments);
}

std::wstring UninstallEventOf(const std::wstring& gameFolder)
{
    return ZGC::UninstallEventName(ZGC::ComputeFolderKey(gameFolder));
}

bool SetUninstallEvent(const std::wstring& gameFolder)
{
    const System::Win32::UniqueHandle event(
        OpenEventW(EVENT_MODIFY_STATE, FALSE, UninstallEventOf(gameFolder).c_str()));
    return event && SetEvent(event.get());
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolderTree(const std::wstring& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}

std::wstring OutermostMissingFolder(const std::wstring& folder)
{
    std::filesystem::path missing(folder);
    for (std::filesystem::path above = missing.parent_path(); above != missing && !FileExists(above.wstring());
         above = above.parent_path())
        missing = above;
    return missing.wstring();
}

}  // namespace InstallerTests
