// The windows the built client shows, seen from outside on a virtual display: which notification for
// which trouble, the start-failure message box before it, and no window at all in quiet mode.
// Every window a test makes appear is closed by the test, so the client always ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display_environment.h"
#include "scoped_registry_value.h"
#include "screen_capture.h"
#include "stand_in_game_center.h"
#include "support/process_runner.h"
#include "support/standard_user_launch.h"
#include "support/test_paths.h"
#include "support/ui_windows.h"

namespace {

using E2e::StandInGameCenter;
using E2e::StartLog;
using TestSupport::ChildProcess;

constexpr wchar_t kTitle[] = L"Tarvo Game Center";
constexpr DWORD kShowTimeoutMs = 20000;
constexpr DWORD kEndTimeoutMs = 15000;
constexpr int kMessageId = 1001;
constexpr int kButtonId = 23;
constexpr int kMessageBoxTextId = 0xFFFF;

struct Expected {
    std::wstring message;
    std::wstring button;
};

const wchar_t kInstallLine[] = L"\nPlease install the application using the installer.";
const Expected kRequiredToUpdate{std::wstring(L"Tarvo Game Center is required to update this game.") + kInstallLine,
                                 L"Install Tarvo Game Center"};
const Expected kRequiredToUninstall{
    std::wstring(L"Tarvo Game Center is required to uninstall this game.") + kInstallLine,
    L"Install Tarvo Game Center"};
const Expected kRequiredToChangeType{
    std::wstring(L"Tarvo Game Center is required to change client type for this game.") + kInstallLine,
    L"Install Tarvo Game Center"};
const Expected kRequired{std::wstring(L"Tarvo Game Center is required.") + kInstallLine, L"Install Tarvo Game Center"};
const Expected kOutdated{
    L"Your version of Tarvo Game Center is outdated.\nPlease reinstall the application using the "
    L"installer.",
    L"Reinstall Tarvo Game Center"};

struct OperationCase {
    const wchar_t* arguments;
    const Expected& notification;
};

const OperationCase kOperations[] = {
    {L"--target-game-folder C:\\Games\\Demo", kRequired},
    {L"--update --target-game-folder C:\\Games\\Demo", kRequiredToUpdate},
    {L"--verify-integrity --target-game-folder C:\\Games\\Demo", kRequired},
    {L"--cct beta --target-game-folder C:\\Games\\Demo", kRequiredToChangeType},
    {L"--install pkg --target-game-folder C:\\Games\\Demo", kRequired},
    {L"--uninstall --target-game-folder C:\\Games\\Demo", kRequiredToUninstall},
};

std::unique_ptr<ChildProcess> StartClient(const std::wstring& arguments)
{
    const std::wstring client = TestSupport::ClientExePath();
    TestSupport::ChildOptions standardUser;
    standardUser.standardUser = true;  // a run that may find the stand-in game center
    return std::make_unique<ChildProcess>(client, L"\"" + client + L"\" " + arguments, standardUser);
}

std::wstring ControlText(HWND dialog, int id)
{
    for (const auto& control : TestSupport::DialogControls(dialog)) {
        if (control.id == id)
            return control.text;
    }
    return L"<no control " + std::to_wstring(id) + L">";
}

// The first visible dialog of the process, whatever its title; null when none came in time.
HWND WaitForAnyDialog(DWORD processId)
{
    const ULONGLONG deadline = GetTickCount64() + kShowTimeoutMs;
    while (GetTickCount64() < deadline) {
        for (const auto& window : TestSupport::VisibleTopLevelWindows(processId)) {
            if (window.className == L"#32770")
                return window.hwnd;
        }
        Sleep(20);
    }
    return nullptr;
}

// The system's own text for `error`, asked for here rather than through the client, without the line end.
std::wstring SystemText(DWORD error, DWORD language)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                   error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = text != nullptr ? text : L"";
    LocalFree(text);
    return result.erase(result.find_last_not_of(L" \r\n") + 1);
}

// Strongly red pixels of the message box's icon, as drawn on the screen (the error icon is red).
int RedIconPixels(HWND box)
{
    for (const auto& control : TestSupport::DialogControls(box)) {
        if (control.className != L"Static" || (control.style & SS_TYPEMASK) != SS_ICON)
            continue;
        RECT rect = control.rect;
        MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        const UiTest::Image image = UiTest::CaptureScreen(rect);
        int red = 0;
        for (const COLORREF c : image.pixels)
            red += GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90 ? 1 : 0;
        return red;
    }
    return 0;
}

void CloseWithCloseBox(HWND dialog)
{
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// The client shows exactly this notification (and nothing beside it); the test closes it.
void ExpectNotificationAndClose(const ChildProcess& client, const Expected& expected)
{
    const HWND dialog = TestSupport::WaitForDialog(kTitle, client.processId(), kShowTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "no notification";
    EXPECT_EQ(TestSupport::VisibleTopLevelWindows(client.processId()).size(), 1u);
    EXPECT_EQ(ControlText(dialog, kMessageId), expected.message);
    EXPECT_EQ(ControlText(dialog, kButtonId), expected.button);
    CloseWithCloseBox(dialog);
}

void ExpectEndsWithZero(const ChildProcess& client)
{
    ASSERT_TRUE(client.waitForExit(kEndTimeoutMs)) << "the client did not end";
    EXPECT_EQ(client.exitCode(), 0u);
}

TEST(ClientWindows, MissingGameCenterShowsTheOperationsNotification)
{
    for (const OperationCase& operation : kOperations) {
        SCOPED_TRACE(TestSupport::WideToUtf8(operation.arguments));
        const TestSupport::ScopedNoGameCenter missing;
        const StartLog log;
        const auto client = StartClient(operation.arguments);
        ExpectNotificationAndClose(*client, operation.notification);
        ExpectEndsWithZero(*client);
        EXPECT_TRUE(log.nothingStarted(100));
    }
}

TEST(ClientWindows, OutdatedGameCenterShowsTheReinstallNotificationWhateverTheOperation)
{
    for (const OperationCase& operation : kOperations) {
        SCOPED_TRACE(TestSupport::WideToUtf8(operation.arguments));
        const StandInGameCenter outdated(L"26.0.2.1045");
        const auto client = StartClient(operation.arguments);
        ExpectNotificationAndClose(*client, kOutdated);
        ExpectEndsWithZero(*client);
        EXPECT_TRUE(outdated.nothingStarted(100));
    }
}

TEST(ClientWindows, FailedStartShowsTheMessageBoxThenTheNotification)
{
    // This program runs in German (see CMakeLists.txt): the reason must be the system's, in its language.
    const std::wstring reason = SystemText(ERROR_BAD_EXE_FORMAT, LANG_NEUTRAL);
    ASSERT_NE(reason, SystemText(ERROR_BAD_EXE_FORMAT, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    for (const OperationCase& operation : kOperations) {
        SCOPED_TRACE(TestSupport::WideToUtf8(operation.arguments));
        const StandInGameCenter unstartable(L"not_a_program");
        const auto client = StartClient(operation.arguments);
        if (&operation.notification != &kRequiredToUninstall) {
            const HWND box = WaitForAnyDialog(client->processId());
            ASSERT_NE(box, nullptr) << "no message box";
            EXPECT_EQ(TestSupport::WindowText(box), L"Fehler") << "the system's caption for a box without one";
            EXPECT_EQ(ControlText(box, kMessageBoxTextId),
                      L"Failed to start " + unstartable.executable() + L"\r\n" + reason);
            const ULONGLONG deadline = GetTickCount64() + kEndTimeoutMs;
            while (RedIconPixels(box) < 100 && GetTickCount64() < deadline)
                Sleep(50);
            EXPECT_GE(RedIconPixels(box), 100) << "the error icon";
            EXPECT_FALSE(client->waitForExit(0));
            EXPECT_TRUE(TestSupport::ClickButton(box, IDOK));
        }
        // Uninstall has no message box: its failed start shows only its notification.
        ExpectNotificationAndClose(*client, operation.notification);
        ExpectEndsWithZero(*client);
    }
}

// Watches every top-level window of the client until it ends; the names of those that were visible.
std::vector<std::wstring> VisibleWindowsUntilExit(const ChildProcess& client)
{
    std::vector<std::wstring> seen;
    const ULONGLONG deadline = GetTickCount64() + kEndTimeoutMs;
    while (!client.waitForExit(10) && GetTickCount64() < deadline) {
        for (const auto& window : TestSupport::VisibleTopLevelWindows(client.processId())) {
            seen.push_back(window.className + L" " + window.title);
            PostMessageW(window.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);  // so a failing test still ends
        }
    }
    return seen;
}

TEST(ClientWindows, QuietModeShowsNoWindowAtAll)
{
    for (const wchar_t* variant : {L"", L"26.0.2.1045", L"noversion", L"not_a_program"}) {
        for (const OperationCase& operation : kOperations) {
            SCOPED_TRACE(TestSupport::WideToUtf8(variant) + " " + TestSupport::WideToUtf8(operation.arguments));
            const TestSupport::ScopedNoGameCenter missing;
            std::optional<StandInGameCenter> installed;
            if (*variant)
                installed.emplace(variant);
            const auto client = StartClient(std::wstring(L"--quiet ") + operation.arguments);
            EXPECT_EQ(VisibleWindowsUntilExit(*client), std::vector<std::wstring>{});
            ExpectEndsWithZero(*client);
        }
    }
}

TEST(ClientWindows, UnresolvableProgramDataShowsNoWindowEvenWithoutQuiet)
{
    const StandInGameCenter gameCenter;
    const E2e::ScopedUnresolvableProgramData broken;
    for (const OperationCase& operation : kOperations) {
        SCOPED_TRACE(TestSupport::WideToUtf8(operation.arguments));
        const auto client = StartClient(operation.arguments);
        EXPECT_EQ(VisibleWindowsUntilExit(*client), std::vector<std::wstring>{});
        ExpectEndsWithZero(*client);
    }
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

TEST(ClientWindows, WatchingSeesTheWindowsOfAClientThatShowsOne)
{
    // The check above proves something only if the watch sees a window that is there.
    const TestSupport::ScopedNoGameCenter missing;
    const auto client = StartClient(L"--update");
    ASSERT_NE(TestSupport::WaitForDialog(kTitle, client->processId(), kShowTimeoutMs), nullptr);
    const auto seen = VisibleWindowsUntilExit(*client);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), std::wstring(L"#32770 ") + kTitle);
    ExpectEndsWithZero(*client);
}

TEST(ClientWindows, AskedForNotificationIsShownEvenWhenQuietAndStartsNothing)
{
    const StandInGameCenter gameCenter;
    {
        const auto client = StartClient(L"--propose-zgc-install 110 --quiet");
        ExpectNotificationAndClose(*client, kRequired);
        ExpectEndsWithZero(*client);
    }
    {
        const auto client = StartClient(L"--quiet --propose-zgc-install 108 --update");
        ExpectNotificationAndClose(*client, kOutdated);
        ExpectEndsWithZero(*client);
    }
    {
        // A support notification closes with its own button.
        const auto client = StartClient(L"--propose-zgc-install +111");
        const HWND dialog = TestSupport::WaitForDialog(kTitle, client->processId(), kShowTimeoutMs);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ControlText(dialog, kButtonId), L"Close");
        EXPECT_TRUE(TestSupport::ClickButton(dialog, kButtonId));
        ExpectEndsWithZero(*client);
    }
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

// The client started by an installer has administrator rights: the support page must open as the
// desktop's user, so the desktop's shell starts the browser (here the recorder, which writes down its
// parent). A standard user's client starts it itself.
TEST(ClientWindows, TheSupportLinkOfAnElevatedClientIsOpenedByTheDesktopShellAndOfAStandardOneByTheClient)
{
    const std::wstring parentLog = TestSupport::ScratchDir() + L"\\client_opened_with_parent.log";
    const UiTest::ScopedRegistryValue recorderWithParent = UiTest::RecordOpensWithTheirParent(parentLog);
    ASSERT_TRUE(recorderWithParent.Applied());
    const std::wstring client = TestSupport::ClientExePath();
    const std::wstring commandLine = L"\"" + client + L"\" --propose-zgc-install 111";
    const struct {
        const char* who;
        bool administrator;
        std::string openedBy;
    } cases[] = {{"administrator", true, "explorer.exe"}, {"standard user", false, "tgc_client.exe"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.who);
        ::DeleteFileW(parentLog.c_str());
        std::unique_ptr<ChildProcess> elevated;
        System::Win32::UniqueHandle standardProcess;
        DWORD processId = 0;
        if (c.administrator) {
            elevated = std::make_unique<ChildProcess>(client, commandLine);
            processId = elevated->processId();
        } else {
            PROCESS_INFORMATION started{};
            ASSERT_TRUE(TestSupport::StartAsStandardUser(commandLine, 0, started));
            const System::Win32::UniqueHandle thread(started.hThread);
            standardProcess.reset(started.hProcess);
            processId = started.dwProcessId;
        }
        const HWND dialog = TestSupport::WaitForDialog(kTitle, processId, kShowTimeoutMs);
        ASSERT_NE(dialog, nullptr) << "no notification";
        std::optional<POINT> linkCentre;
        for (const auto& control : TestSupport::DialogControls(dialog)) {
            if (control.id == kMessageId + 1)
                linkCentre =
                    POINT{(control.rect.left + control.rect.right) / 2, (control.rect.top + control.rect.bottom) / 2};
        }
        ASSERT_TRUE(linkCentre) << "no support link";
        for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
            DWORD_PTR ignored = 0;
            ASSERT_NE(::SendMessageTimeoutW(dialog, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                                            MAKELPARAM(linkCentre->x, linkCentre->y), SMTO_ABORTIFHUNG, kEndTimeoutMs,
                                            &ignored),
                      0);
        }
        std::string recorded;
        const ULONGLONG deadline = ::GetTickCount64() + kEndTimeoutMs;
        while (recorded.empty() && ::GetTickCount64() < deadline) {
            ::Sleep(50);
            std::ifstream log{std::filesystem::path(parentLog)};
            std::getline(log, recorded);
        }
        std::cout << "[ recorder ] " << c.who << ": " << recorded << std::endl;
        EXPECT_EQ(recorded, "https://games.tarvo.com/support/products/tgc/ " + c.openedBy);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "the link leaves the dialog open";
        CloseWithCloseBox(dialog);
        if (elevated) {
            ExpectEndsWithZero(*elevated);
        } else {
            EXPECT_EQ(::WaitForSingleObject(standardProcess.get(), kEndTimeoutMs), WAIT_OBJECT_0);
            ::TerminateProcess(standardProcess.get(), 1);  // does nothing once it has ended
        }
    }
    ::DeleteFileW(parentLog.c_str());
}

}  // namespace
