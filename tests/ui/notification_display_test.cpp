// Notifications on a real display, driven from outside as a user would: the texts and controls shown,
// what each way of closing returns, and which addresses get opened.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "display_environment.h"
#include "host_process.h"
#include "scoped_registry_value.h"
#include "scoped_system_look.h"
#include "screen_capture.h"
#include "libraries/system/win32/com_ref.h"
#include "libraries/system/win32/com_scope.h"
#include "support/import_patch.h"
#include "support/standard_user_launch.h"
#include "support/test_paths.h"
#include "support/ui_windows.h"
#include "ui/framework/gdi_scopes.h"
#include "ui/framework/win_app.h"
#include "ui/message_dialog.h"
#include "ui/notification_catalogue.h"
#include "ui/web_addresses.h"

namespace {

using TestSupport::ControlInfo;
using UiTest::HostProcess;
using UiTest::Image;

constexpr wchar_t kTitle[] = L"Tarvo Game Center";
constexpr DWORD kShowTimeoutMs = 20000;
constexpr DWORD kEndTimeoutMs = 15000;
constexpr DWORD kPaintTimeoutMs = 5000;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr int kSupportLinkId = 1002;

std::string Installer()
{
    return TestSupport::WideToUtf8(Ui::InstallerAddress());
}

std::string Support()
{
    return TestSupport::WideToUtf8(Ui::SupportAddress());
}

const ControlInfo* FindControl(const std::vector<ControlInfo>& controls, int id)
{
    const auto found = std::find_if(controls.begin(), controls.end(), [id](const auto& c) { return c.id == id; });
    return found != controls.end() ? &*found : nullptr;
}

POINT CentreOf(const RECT& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

LPARAM ClientPoint(POINT point)
{
    return MAKELPARAM(point.x, point.y);
}

// The dialog's client area as the screen shows it.
Image CaptureClient(HWND dialog)
{
    RECT client{};
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return UiTest::CaptureScreen(client);
}

// Captures the client area until `ready` holds for it (painting happens in the host's own time).
template <class Predicate>
Image CaptureClientWhen(HWND dialog, Predicate ready)
{
    const ULONGLONG deadline = ::GetTickCount64() + kPaintTimeoutMs;
    Image image = CaptureClient(dialog);
    while (!ready(image) && ::GetTickCount64() < deadline) {
        ::Sleep(50);
        image = CaptureClient(dialog);
    }
    return image;
}

int RightmostColumnOf(const Image& image, const RECT& area, COLORREF colour)
{
    int rightmost = -1;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (image.At(x, y) == colour)
                rightmost = std::max(rightmost, x);
        }
    }
    return rightmost;
}

void SaveScreenshot(HWND dialog, const std::wstring& name)
{
    RECT window{};
    ::GetWindowRect(dialog, &window);
    EXPECT_TRUE(UiTest::SaveBitmap(UiTest::CaptureScreen(window), UiTest::ScreenshotPath(name)));
}

// Keys go to the focused control, the way the keyboard would deliver them.
void PostKey(HWND dialog, UINT down, UINT up, WPARAM key, LPARAM flags)
{
    HWND target = TestSupport::FocusedWindowOfThread(dialog);
    if (target == nullptr)
        target = dialog;
    ::PostMessageW(target, down, key, flags | 1);
    ::PostMessageW(target, up, key, flags | 0xC0000001);
}

enum class Cancel { Escape, CloseBox, AltF4 };

const char* Name(Cancel how)
{
    switch (how) {
        case Cancel::Escape:
            return "Escape";
        case Cancel::CloseBox:
            return "close box";
        case Cancel::AltF4:
            return "Alt+F4";
    }
    return "?";
}

void CancelDialog(HWND dialog, Cancel how)
{
    switch (how) {
        case Cancel::Escape:
            PostKey(dialog, WM_KEYDOWN, WM_KEYUP, VK_ESCAPE, 0x00010000);
            break;
        case Cancel::CloseBox:
            // What the caption's close button sends when it is clicked.
            ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case Cancel::AltF4:
            PostKey(dialog, WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F4, 0x203E0000);  // context code: Alt is down
            break;
    }
}

// Button down and up on the dialog (mouse messages over a plain static reach the dialog itself).
bool MouseButton(HWND dialog, UINT message, POINT clientPoint)
{
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(dialog, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, ClientPoint(clientPoint),
                                 SMTO_ABORTIFHUNG, kEndTimeoutMs, &ignored) != 0;
}

// The host is gone and everything it started has finished, so the recorded addresses are final.
testing::AssertionResult HostEnds(HostProcess& host)
{
    if (!host.WaitForExit(kEndTimeoutMs))
        return testing::AssertionFailure() << "the dialog did not end";
    if (!host.WaitUntilJobIsEmpty(kEndTimeoutMs))
        return testing::AssertionFailure() << "something the host started still runs";
    return testing::AssertionSuccess();
}

// Two-line messages start level with the icon; the link sits under the message; the button is
// right-aligned 16 pixels from the edge (dialog-unit rounding moves things a pixel or two).
void ExpectTaskDialogPlacement(HWND dialog, const ControlInfo& icon, const ControlInfo& message,
                               const ControlInfo& link, const ControlInfo& button)
{
    RECT client{};
    ::GetClientRect(dialog, &client);
    EXPECT_NEAR(icon.rect.left, 24, 2);
    EXPECT_NEAR(icon.rect.top, 24, 2);
    EXPECT_NEAR(message.rect.top, 24, 2);
    EXPECT_NEAR(message.rect.left, 64, 2);
    EXPECT_EQ(link.rect.left, message.rect.left);
    EXPECT_NEAR(link.rect.top, message.rect.bottom, 2);
    EXPECT_NEAR(button.rect.right, client.right - 16, 3);
    EXPECT_NEAR(button.rect.bottom, client.bottom - 12, 3);
    EXPECT_GE(button.rect.right - button.rect.left, 78);
}

int RedPixels(const Image& image, const RECT& area)
{
    int red = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = image.At(x, y);
            red += GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90 ? 1 : 0;
        }
    }
    return red;
}

// White message band, grey button band, a blue link, a red error icon.
void ExpectTaskDialogColours(HWND dialog, const ControlInfo& icon, const ControlInfo& message, const ControlInfo& link)
{
    const Image image = CaptureClientWhen(dialog, [&](const Image& i) { return i.Count(link.rect, kBlue) > 0; });
    ASSERT_GT(image.width, 0);
    RECT client{};
    ::GetClientRect(dialog, &client);
    const int bandBottom = link.rect.bottom + 24;
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(image.At(4, 4), window);
    EXPECT_EQ(image.At(4, bandBottom - 4), window);
    EXPECT_EQ(image.At(4, bandBottom + 4), face);
    EXPECT_EQ(image.At(4, client.bottom - 4), face);
    EXPECT_GT(image.Count(link.rect, kBlue), 10) << "link text and underline are blue";
    EXPECT_EQ(image.Count(link.rect, kPurple), 0);
    EXPECT_GE(RightmostColumnOf(image, link.rect, kBlue), link.rect.right - 6) << "the whole caption is shown";
    EXPECT_GT(image.Count(message.rect, ::GetSysColor(COLOR_WINDOWTEXT)), 50) << "the message is drawn";
    EXPECT_GT(RedPixels(image, icon.rect), 100) << "the error icon is drawn";
}

// The whole error icon at the top left of its control, exactly as DrawIcon puts it on the band.
void ExpectWholeIcon(HWND dialog, const ControlInfo& icon)
{
    const SIZE size{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
    EXPECT_GE(icon.rect.right - icon.rect.left, size.cx);
    EXPECT_GE(icon.rect.bottom - icon.rect.top, size.cy);
    const Image drawn = UiTest::DrawnIcon(::LoadIconW(nullptr, IDI_ERROR), size, ::GetSysColor(COLOR_WINDOW));
    ASSERT_EQ(drawn.width, size.cx);
    const auto differing = [&](const Image& shown) {
        int count = 0;
        for (int y = 0; y < size.cy; ++y) {
            for (int x = 0; x < size.cx; ++x)
                count += shown.At(icon.rect.left + x, icon.rect.top + y) != drawn.At(x, y) ? 1 : 0;
        }
        return count;
    };
    const Image shown = CaptureClientWhen(dialog, [&](const Image& i) { return differing(i) == 0; });
    EXPECT_EQ(differing(shown), 0) << "pixels of the icon missing or moved";
}

// From the client top down to the band's bottom (24 under the message and the link), every pixel
// outside the icon is the window colour, the text colour, or the link's blue inside the link: no box
// of another colour behind any text. Needs a font drawn without smoothing.
void ExpectOnlyWindowAndTextColoursInTheBand(const Image& image, const ControlInfo& icon, const ControlInfo& message,
                                             const ControlInfo& link)
{
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const int bandBottom = std::max(message.rect.bottom, link.rect.bottom) + 24 - 3;  // dialog-unit rounding
    int others = 0;
    std::ostringstream first;
    for (int y = 0; y < bandBottom; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const POINT point{x, y};
            const COLORREF c = image.At(x, y);
            if (::PtInRect(&icon.rect, point) || c == window || c == text ||
                (c == kBlue && ::PtInRect(&link.rect, point)))
                continue;
            if (others++ == 0)
                first << std::hex << c << " at " << std::dec << x << "," << y;
        }
    }
    EXPECT_EQ(others, 0) << "pixels of another colour in the message band, the first " << first.str();
    EXPECT_GT(image.Count(message.rect, text), 50) << "the message is drawn";
}

// A notification shown on a second thread of this program, so that what only its own process can see
// (fonts, cursors, the calls it makes to the system) can be read here. The thread acts as a standard
// user, as a player's client runs.
class DialogOnSecondThread {
public:
    DialogOnSecondThread(const wchar_t* message, const Ui::NotificationOptions& options)
        : m_thread([this, message, options] {
              const TestSupport::StandardUserThread standardUser;
              const Win32xx::CWinApp app;
              m_result = Ui::ShowMessageDialog(message, &options);
          }),
          m_dialog(TestSupport::WaitForDialog(kTitle, ::GetCurrentProcessId(), kShowTimeoutMs))
    {
    }
    ~DialogOnSecondThread() { End(); }
    DialogOnSecondThread(const DialogOnSecondThread&) = delete;
    DialogOnSecondThread& operator=(const DialogOnSecondThread&) = delete;

    HWND Dialog() const { return m_dialog; }

    // Cancels the dialog unless it has ended already; its result.
    std::int32_t End()
    {
        if (m_thread.joinable()) {
            if (::IsWindow(m_dialog))
                ::PostMessageW(m_dialog, WM_COMMAND, IDCANCEL, 0);
            m_thread.join();
        }
        return m_result;
    }

private:
    std::atomic<std::int32_t> m_result{0};
    std::thread m_thread;
    HWND m_dialog;
};

// What a patched system function was called with, from whichever thread called it.
template <class Call>
class CallLog {
public:
    void Add(Call call)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    std::vector<Call> Take()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_calls, {});
    }

private:
    std::mutex m_mutex;
    std::vector<Call> m_calls;
};

// The file and the show command of every ShellExecuteW; nothing is started, and the shell's answer is
// that of a started handler.
CallLog<std::pair<std::wstring, INT>> g_shellOpens;

HINSTANCE WINAPI RecordShellOpen(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT show)
{
    g_shellOpens.Add({file != nullptr ? file : L"(none)", show});
    return reinterpret_cast<HINSTANCE>(INT_PTR{42});
}

// Every SetForegroundWindow, passed on to the system.
CallLog<HWND> g_foregroundRequests;
decltype(&::SetForegroundWindow) g_systemSetForegroundWindow = nullptr;

BOOL WINAPI RecordForegroundRequest(HWND window)
{
    g_foregroundRequests.Add(window);
    return g_systemSetForegroundWindow(window);
}

Ui::NotificationOptions LinkAndInstallButton(const std::wstring& installer, const std::wstring& support)
{
    Ui::NotificationOptions options{};
    options.buttons = L"";
    options.actionCaption = L"Install Tarvo Game Center";
    options.actionTarget = installer.c_str();
    options.supportCaption = L"Contact Support";
    options.supportTarget = support.c_str();
    return options;
}

HWND WaitForForeground(HWND window)
{
    const ULONGLONG deadline = ::GetTickCount64() + kPaintTimeoutMs;
    while (::GetForegroundWindow() != window && ::GetTickCount64() < deadline)
        ::Sleep(50);
    return ::GetForegroundWindow();
}

class NotificationDisplay : public testing::Test {
protected:
    void SetUp() override { UiTest::ForgetOpenedAddresses(); }
    void TearDown() override { EXPECT_FALSE(UiTest::BrowserWasTried()); }

    static HWND WaitForNotification(const HostProcess& host)
    {
        return TestSupport::WaitForDialog(kTitle, host.ProcessId(), kShowTimeoutMs);
    }
};

TEST_F(NotificationDisplay, EveryCatalogueEntryShowsItsTextsIconLinkAndButton)
{
    const std::int32_t codes[] = {103, 105, 106, 108, 110, 111, 112};
    for (const std::int32_t code : codes) {
        SCOPED_TRACE(testing::Message() << "notification " << code);
        const Ui::NotificationEntry* entry = Ui::FindNotification(code);
        ASSERT_NE(entry, nullptr);
        HostProcess host(L"notification " + std::to_wstring(code));
        ASSERT_TRUE(host.Started());
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr) << "no dialog titled \"Tarvo Game Center\"";
        EXPECT_EQ(TestSupport::VisibleTopLevelWindows(host.ProcessId()).size(), 1u);

        const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
        ASSERT_EQ(controls.size(), 4u);
        const struct {
            int id;
            std::wstring className;
            std::wstring text;
        } expected[] = {
            {1000, L"Static", L""},
            {1001, L"Static", Ui::NotificationMessage(*entry)},
            {kSupportLinkId, L"Static", L"Contact Support"},
            {23, L"Button", entry->buttonCaption},
        };
        for (const auto& e : expected) {
            const ControlInfo* control = FindControl(controls, e.id);
            ASSERT_NE(control, nullptr) << "control " << e.id;
            EXPECT_TRUE(control->visible) << e.id;
            EXPECT_EQ(control->className, e.className) << e.id;
            EXPECT_EQ(control->text, e.text) << e.id;
        }
        const ControlInfo& icon = *FindControl(controls, 1000);
        const ControlInfo& message = *FindControl(controls, 1001);
        const ControlInfo& link = *FindControl(controls, kSupportLinkId);
        const ControlInfo& button = *FindControl(controls, 23);
        EXPECT_EQ(button.style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        EXPECT_EQ(TestSupport::FocusedWindowOfThread(dialog), button.hwnd) << "the button has the focus";

        ExpectTaskDialogPlacement(dialog, icon, message, link, button);
        ExpectTaskDialogColours(dialog, icon, message, link);
        ExpectWholeIcon(dialog, icon);
        SaveScreenshot(dialog, L"notification-" + std::to_wstring(code));

        CancelDialog(dialog, Cancel::Escape);
        ASSERT_TRUE(HostEnds(host));
        EXPECT_TRUE(UiTest::OpenedAddresses().empty());
        EXPECT_EQ(host.Outcome()["result"], "none");
    }
}

TEST_F(NotificationDisplay, EscapeCloseBoxAndAltF4CancelWithTwoAndOpenNothing)
{
    for (const Cancel how : {Cancel::Escape, Cancel::CloseBox, Cancel::AltF4}) {
        for (const std::int32_t code : {103, 111}) {
            SCOPED_TRACE(testing::Message() << Name(how) << " on " << code);
            HostProcess host(L"prompt " + std::to_wstring(code));
            const HWND dialog = WaitForNotification(host);
            ASSERT_NE(dialog, nullptr);
            // IDCLOSE is not a way out: had it ended the dialog, the result would be 8.
            ::SendMessageW(dialog, WM_COMMAND, IDCLOSE, 0);
            CancelDialog(dialog, how);
            ASSERT_TRUE(HostEnds(host));
            EXPECT_EQ(host.Outcome()["result"], std::to_string(IDCANCEL));
            EXPECT_TRUE(UiTest::OpenedAddresses().empty());
        }
    }
}

TEST_F(NotificationDisplay, CloseButtonGives23AndOpensNothing)
{
    for (const std::int32_t code : {111, 112}) {
        SCOPED_TRACE(code);
        HostProcess host(L"prompt " + std::to_wstring(code));
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(TestSupport::WindowText(::GetDlgItem(dialog, 23)), L"Close");
        ASSERT_TRUE(TestSupport::ClickButton(dialog, 23));
        ASSERT_TRUE(HostEnds(host));
        EXPECT_EQ(host.Outcome()["result"], "23");
        EXPECT_TRUE(UiTest::OpenedAddresses().empty());
    }
}

TEST_F(NotificationDisplay, ActionButtonOpensTheInstallerAddressAndEndsTheDialog)
{
    for (const std::int32_t code : {103, 105, 106, 108, 110}) {
        SCOPED_TRACE(code);
        UiTest::ForgetOpenedAddresses();
        HostProcess host(L"prompt " + std::to_wstring(code));
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(TestSupport::ClickButton(dialog, 23));
        ASSERT_TRUE(HostEnds(host));
        EXPECT_EQ(host.Outcome()["result"], "23");
        // The browser is started, not waited for: what it records may come after the host has ended.
        EXPECT_EQ(UiTest::WaitForOpenedAddresses(1, kEndTimeoutMs), std::vector<std::string>{Installer()});
    }
}

TEST_F(NotificationDisplay, SupportLinkOpensTheSupportAddressKeepsTheDialogAndTurnsPurple)
{
    // A handler that cannot be started makes the shell's open fail: the link stays blue, the dialog open.
    const struct {
        std::int32_t code;
        bool opens;
    } cases[] = {{110, true}, {112, true}, {103, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        UiTest::ForgetOpenedAddresses();
        std::optional<UiTest::ScopedRegistryValue> brokenHandler;
        if (!c.opens)
            brokenHandler.emplace(HKEY_LOCAL_MACHINE, L"Software\\Classes\\https\\shell\\open\\command", L"",
                                  L"\"C:\\missing\\handler.exe\" \"%1\"");
        HostProcess host(L"prompt " + std::to_wstring(c.code));
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr);
        const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
        const ControlInfo* link = FindControl(controls, kSupportLinkId);
        ASSERT_NE(link, nullptr);
        const Image before = CaptureClientWhen(dialog, [&](const Image& i) { return i.Count(link->rect, kBlue) > 0; });
        ASSERT_GT(before.Count(link->rect, kBlue), 0);

        ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONDOWN, CentreOf(link->rect)));
        ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, CentreOf(link->rect)));
        const auto opened = c.opens ? std::vector<std::string>{Support()} : std::vector<std::string>{};
        EXPECT_EQ(UiTest::WaitForOpenedAddresses(1, c.opens ? kEndTimeoutMs : 1000), opened);
        EXPECT_TRUE(host.Running());
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "the dialog stays open";

        const Image after = CaptureClientWhen(dialog, [&](const Image& i) {
            return i.Count(link->rect, kPurple) > 0 && i.Count(link->rect, kBlue) == 0;
        });
        EXPECT_EQ(after.Count(link->rect, kPurple) > 10, c.opens) << "a visited link is purple";
        EXPECT_EQ(after.Count(link->rect, kBlue) == 0, c.opens);
        if (!c.opens) {
            CancelDialog(dialog, Cancel::Escape);
            ASSERT_TRUE(HostEnds(host));
            EXPECT_EQ(host.Outcome()["result"], "2");
            continue;
        }
        SaveScreenshot(dialog, L"notification-" + std::to_wstring(c.code) + L"-visited");

        // The link can be used again, and the dialog still closes as usual.
        ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONDOWN, CentreOf(link->rect)));
        ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, CentreOf(link->rect)));
        EXPECT_EQ(UiTest::WaitForOpenedAddresses(2, kEndTimeoutMs), (std::vector<std::string>{Support(), Support()}));
        CancelDialog(dialog, Cancel::Escape);
        ASSERT_TRUE(HostEnds(host));
        EXPECT_EQ(host.Outcome()["result"], std::to_string(IDCANCEL));
        EXPECT_EQ(UiTest::OpenedAddresses().size(), 2u);
    }
}

TEST_F(NotificationDisplay, APressOverTheLinkReleasedElsewhereOpensNothingUntilAReleaseOverIt)
{
    HostProcess host(L"prompt 103");
    const HWND dialog = WaitForNotification(host);
    ASSERT_NE(dialog, nullptr);
    const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
    const ControlInfo* link = FindControl(controls, kSupportLinkId);
    ASSERT_NE(link, nullptr);

    // Released elsewhere: nothing starts. A release without a press over the link: nothing either.
    ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONDOWN, CentreOf(link->rect)));
    ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, POINT{5, 5}));
    EXPECT_EQ(host.ProcessesEverStarted(), 1u) << "the shell was asked to open something";
    // The press is still remembered: the next release over the link opens it.
    ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, CentreOf(link->rect)));
    EXPECT_EQ(UiTest::WaitForOpenedAddresses(1, kEndTimeoutMs), std::vector<std::string>{Support()});
    // Now it is cleared: a release alone opens nothing.
    const auto startedSoFar = host.ProcessesEverStarted();
    ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, CentreOf(link->rect)));
    EXPECT_EQ(host.ProcessesEverStarted(), startedSoFar);
    // A press that starts elsewhere and ends over the link opens nothing.
    ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONDOWN, POINT{5, 5}));
    ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, CentreOf(link->rect)));
    EXPECT_EQ(host.ProcessesEverStarted(), startedSoFar);

    CancelDialog(dialog, Cancel::Escape);
    ASSERT_TRUE(HostEnds(host));
    EXPECT_EQ(UiTest::WaitForOpenedAddresses(1, kEndTimeoutMs), std::vector<std::string>{Support()});
}

// Pixels of the focus mark: DrawFocusRect inverts the white band to black along the link's edges,
// where neither the blue text nor anything else is black.
int FocusMarkPixels(const Image& image, const RECT& link)
{
    int marked = 0;
    for (int x = link.left; x < link.right; ++x)
        marked += (image.At(x, link.top) == RGB(0, 0, 0)) + (image.At(x, link.bottom - 1) == RGB(0, 0, 0));
    for (int y = link.top + 1; y < link.bottom - 1; ++y)
        marked += (image.At(link.left, y) == RGB(0, 0, 0)) + (image.At(link.right - 1, y) == RGB(0, 0, 0));
    return marked;
}

HWND WaitForFocus(HWND dialog, HWND expected)
{
    const ULONGLONG deadline = ::GetTickCount64() + kPaintTimeoutMs;
    while (TestSupport::FocusedWindowOfThread(dialog) != expected && ::GetTickCount64() < deadline)
        ::Sleep(20);
    return TestSupport::FocusedWindowOfThread(dialog);
}

TEST_F(NotificationDisplay, TabReachesTheLinkAfterTheButtonsWhichShowsItsFocusAndOpensWithEnterAndSpace)
{
    HostProcess host(L"buttons \"A|B\" -");
    const HWND dialog = WaitForNotification(host);
    ASSERT_NE(dialog, nullptr);
    const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
    const ControlInfo* link = FindControl(controls, kSupportLinkId);
    ASSERT_NE(link, nullptr);
    EXPECT_NE(link->style & WS_TABSTOP, 0u);
    const HWND first = ::GetDlgItem(dialog, 23);
    ASSERT_EQ(WaitForFocus(dialog, first), first) << "the first button has the focus at first";
    const Image unfocused = CaptureClientWhen(dialog, [&](const Image& i) { return i.Count(link->rect, kBlue) > 0; });
    EXPECT_EQ(FocusMarkPixels(unfocused, link->rect), 0);

    const auto tab = [dialog] { PostKey(dialog, WM_KEYDOWN, WM_KEYUP, VK_TAB, 0x000F0000); };
    tab();
    ASSERT_EQ(WaitForFocus(dialog, ::GetDlgItem(dialog, 24)), ::GetDlgItem(dialog, 24));
    tab();
    ASSERT_EQ(WaitForFocus(dialog, link->hwnd), link->hwnd) << "after the buttons comes the link";
    const Image focused =
        CaptureClientWhen(dialog, [&](const Image& i) { return FocusMarkPixels(i, link->rect) > 20; });
    EXPECT_GT(FocusMarkPixels(focused, link->rect), 20) << "a dotted frame round the link";
    SaveScreenshot(dialog, L"notification-link-focused");

    const struct {
        const char* key;
        WPARAM code;
        LPARAM flags;
    } keys[] = {{"Enter", VK_RETURN, 0x001C0000}, {"Space", VK_SPACE, 0x00390000}};
    std::vector<std::string> expected;
    for (const auto& key : keys) {
        SCOPED_TRACE(key.key);
        PostKey(dialog, WM_KEYDOWN, WM_KEYUP, key.code, key.flags);
        expected.push_back(Support());
        EXPECT_EQ(UiTest::WaitForOpenedAddresses(expected.size(), kEndTimeoutMs), expected);
        EXPECT_TRUE(host.Running()) << "the dialog stays open";
        EXPECT_EQ(TestSupport::FocusedWindowOfThread(dialog), link->hwnd);
    }
    const Image visited = CaptureClientWhen(dialog, [&](const Image& i) { return i.Count(link->rect, kPurple) > 10; });
    EXPECT_GT(visited.Count(link->rect, kPurple), 10) << "a visited link is purple";

    // Round to the first button again: the mark goes with the focus.
    tab();
    ASSERT_EQ(WaitForFocus(dialog, first), first);
    const Image left = CaptureClientWhen(dialog, [&](const Image& i) { return FocusMarkPixels(i, link->rect) == 0; });
    EXPECT_EQ(FocusMarkPixels(left, link->rect), 0);
    CancelDialog(dialog, Cancel::Escape);
    ASSERT_TRUE(HostEnds(host));
    EXPECT_EQ(host.Outcome()["result"], std::to_string(IDCANCEL));
    EXPECT_EQ(UiTest::OpenedAddresses().size(), 2u);
}

// An administrator's client (an installer's) hands the address to the desktop's shell, whose process
// starts the browser; a standard user's client starts it itself.
TEST_F(NotificationDisplay, AnElevatedClientHasTheDesktopShellOpenTheLinkAndAStandardOneOpensItItself)
{
    const std::wstring parentLog = TestSupport::ScratchDir() + L"\\ui_opened_with_parent.log";
    const UiTest::ScopedRegistryValue recorderWithParent = UiTest::RecordOpensWithTheirParent(parentLog);
    ASSERT_TRUE(recorderWithParent.Applied());
    const struct {
        const char* who;
        UiTest::HostRights rights;
        std::string openedBy;
    } cases[] = {{"standard user", UiTest::HostRights::StandardUser, "notification_host.exe"},
                 {"administrator", UiTest::HostRights::Administrator, "explorer.exe"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.who);
        ::DeleteFileW(parentLog.c_str());
        HostProcess host(L"prompt 111", c.rights);
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr);
        const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
        const ControlInfo* link = FindControl(controls, kSupportLinkId);
        ASSERT_NE(link, nullptr);
        const Image before = CaptureClientWhen(dialog, [&](const Image& i) { return i.Count(link->rect, kBlue) > 0; });
        ASSERT_GT(before.Count(link->rect, kBlue), 0) << "the link is shown";
        ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONDOWN, CentreOf(link->rect)));
        ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, CentreOf(link->rect)));
        std::string recorded;
        const ULONGLONG deadline = ::GetTickCount64() + kEndTimeoutMs;
        while (recorded.empty() && ::GetTickCount64() < deadline) {
            ::Sleep(50);
            std::ifstream log{std::filesystem::path(parentLog)};
            std::getline(log, recorded);
        }
        std::cout << "[ recorder ] " << c.who << ": " << recorded << std::endl;
        EXPECT_EQ(recorded, Support() + " " + c.openedBy);
        const Image after =
            CaptureClientWhen(dialog, [&](const Image& i) { return i.Count(link->rect, kPurple) > 10; });
        EXPECT_GT(after.Count(link->rect, kPurple), 10) << "opened: the link turns purple";
        CancelDialog(dialog, Cancel::Escape);
        ASSERT_TRUE(HostEnds(host));
    }
    ::DeleteFileW(parentLog.c_str());
}

TEST_F(NotificationDisplay, ThreeListedCaptionsFillTheRowAndTheThirdCarriesTheAction)
{
    const struct {
        int pressed;
        std::vector<std::string> opened;
    } cases[] = {{25, {Installer()}}, {24, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pressed);
        UiTest::ForgetOpenedAddresses();
        HostProcess host(L"buttons \"A|B|C\" \"Install Tarvo Game Center\"");
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr);
        const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
        std::vector<const ControlInfo*> buttons;
        for (const ControlInfo& control : controls) {
            if (control.className == L"Button")
                buttons.push_back(&control);
        }
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->id < b->id; });
        ASSERT_EQ(buttons.size(), 3u);
        const wchar_t* captions[] = {L"A", L"B", L"C"};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(buttons[i]->id, 23 + i);
            EXPECT_EQ(buttons[i]->text, captions[i]);
            EXPECT_EQ(buttons[i]->style & BS_TYPEMASK, i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        }
        // Left to right, about 6 pixels apart.
        EXPECT_NEAR(buttons[1]->rect.left - buttons[0]->rect.right, 6, 2);
        EXPECT_NEAR(buttons[2]->rect.left - buttons[1]->rect.right, 6, 2);

        ASSERT_TRUE(TestSupport::ClickButton(dialog, c.pressed));
        ASSERT_TRUE(HostEnds(host));
        EXPECT_EQ(host.Outcome()["result"], std::to_string(c.pressed));
        EXPECT_EQ(UiTest::WaitForOpenedAddresses(c.opened.size(), kEndTimeoutMs), c.opened);
    }
}

TEST_F(NotificationDisplay, AQuitMessageEndsTheDialogAndIsPostedAgain)
{
    HostProcess host(L"prompt 103");
    const HWND dialog = WaitForNotification(host);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(::PostThreadMessageW(host.ThreadId(), WM_QUIT, 77, 0));
    ASSERT_TRUE(HostEnds(host));
    auto outcome = host.Outcome();
    EXPECT_EQ(outcome["result"], "-1") << "no button ended it";
    EXPECT_EQ(outcome["quit"], "77") << "the quit message waits for an outer loop";
    EXPECT_TRUE(UiTest::OpenedAddresses().empty());
}

TEST_F(NotificationDisplay, TheOwnerIsDisabledWhileTheDialogIsUpWhichIsCentredOnIt)
{
    HostProcess host(L"owned 111");
    const HWND dialog = WaitForNotification(host);
    ASSERT_NE(dialog, nullptr);
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    ASSERT_NE(owner, nullptr) << "the active window became the owner";
    EXPECT_EQ(TestSupport::WindowText(owner), L"Test Owner");
    EXPECT_FALSE(::IsWindowEnabled(owner));

    RECT ownerRect{};
    RECT dialogRect{};
    ::GetWindowRect(owner, &ownerRect);
    ::GetWindowRect(dialog, &dialogRect);
    EXPECT_EQ(dialogRect.left, (ownerRect.left + ownerRect.right) / 2 - (dialogRect.right - dialogRect.left) / 2);
    EXPECT_EQ(dialogRect.top, (ownerRect.top + ownerRect.bottom) / 2 - (dialogRect.bottom - dialogRect.top) / 2);
    SaveScreenshot(dialog, L"notification-111-owned");

    ASSERT_TRUE(TestSupport::ClickButton(dialog, 23));
    ASSERT_TRUE(HostEnds(host));
    auto outcome = host.Outcome();
    EXPECT_EQ(outcome["result"], "23");
    EXPECT_EQ(outcome["owner"], "enabled");
}

TEST_F(NotificationDisplay, AnOwnerThatGoesAwayTakesTheDialogWithItAndTheCallReturns)
{
    HostProcess host(L"owned 103");
    const HWND dialog = WaitForNotification(host);
    ASSERT_NE(dialog, nullptr);
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    ::PostMessageW(owner, WM_CLOSE, 0, 0);
    ASSERT_TRUE(HostEnds(host));
    auto outcome = host.Outcome();
    EXPECT_EQ(outcome["result"], std::to_string(IDCANCEL));
    EXPECT_EQ(outcome["owner"], "gone");
    EXPECT_TRUE(UiTest::OpenedAddresses().empty());
}

TEST_F(NotificationDisplay, CodesWithoutAnEntryShowNoWindowAndReturnAtOnce)
{
    for (const std::int32_t code : {0, -1, 104, 107, 109, 113}) {
        SCOPED_TRACE(code);
        HostProcess host(L"notification " + std::to_wstring(code));
        ASSERT_TRUE(host.Started());
        bool sawWindow = false;
        const ULONGLONG deadline = ::GetTickCount64() + kEndTimeoutMs;
        while (host.Running() && ::GetTickCount64() < deadline) {
            sawWindow = sawWindow || !TestSupport::VisibleTopLevelWindows(host.ProcessId()).empty();
            ::Sleep(10);
        }
        ASSERT_TRUE(host.WaitForExit(0)) << "still running";
        EXPECT_FALSE(sawWindow);
        EXPECT_EQ(host.Outcome()["result"], "none");
        EXPECT_EQ(host.ProcessesEverStarted(), 1u);
    }
}

TEST_F(NotificationDisplay, TheMessageBandShowsOnlyTheWindowAndTextColoursBehindTheText)
{
    // Colours of their own for the three the dialog paints with, and a message font without smoothing,
    // so that every pixel tells which of them painted it.
    LOGFONTW sharp = UiTest::SystemNonClientMetrics().lfMessageFont;
    sharp.lfQuality = NONANTIALIASED_QUALITY;
    const UiTest::ScopedMessageFont font(sharp);
    const UiTest::ScopedSystemColours colours(
        {{COLOR_WINDOW, RGB(255, 255, 224)}, {COLOR_WINDOWTEXT, RGB(0, 64, 0)}, {COLOR_BTNFACE, RGB(200, 224, 255)}});
    ASSERT_TRUE(font.Applied());
    ASSERT_TRUE(colours.Applied());
    for (const std::int32_t code : {103, 111}) {
        SCOPED_TRACE(code);
        HostProcess host(L"prompt " + std::to_wstring(code));
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr);
        const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
        const ControlInfo* icon = FindControl(controls, 1000);
        const ControlInfo* message = FindControl(controls, 1001);
        const ControlInfo* link = FindControl(controls, kSupportLinkId);
        ASSERT_TRUE(icon && message && link);
        ExpectTaskDialogColours(dialog, *icon, *message, *link);
        const Image image = CaptureClientWhen(dialog, [&](const Image& i) {
            return i.Count(message->rect, ::GetSysColor(COLOR_WINDOWTEXT)) > 50 && i.Count(link->rect, kBlue) > 0;
        });
        ExpectOnlyWindowAndTextColoursInTheBand(image, *icon, *message, *link);
        SaveScreenshot(dialog, L"notification-" + std::to_wstring(code) + L"-own-colours");
        CancelDialog(dialog, Cancel::Escape);
        ASSERT_TRUE(HostEnds(host));
    }
}

// Fonts and cursors can be read back only inside the process that owns them.
TEST_F(NotificationDisplay, TheLinkHasTheHandCursorAndTheUnderlinedMessageFont)
{
    // By default the system's fonts are alike: a message font of its own tells whose font the dialog took.
    LOGFONTW own = UiTest::SystemNonClientMetrics().lfMessageFont;
    own.lfHeight = -(std::abs(own.lfHeight) + 4);
    std::wcsncpy(own.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
    const UiTest::ScopedMessageFont messageFont(own);
    ASSERT_TRUE(messageFont.Applied());
    const NONCLIENTMETRICSW metrics = UiTest::SystemNonClientMetrics();
    ASSERT_EQ(metrics.lfMessageFont.lfHeight, own.lfHeight);
    for (const LOGFONTW* other :
         {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont, &metrics.lfStatusFont})
        ASSERT_NE(other->lfHeight, own.lfHeight);

    const std::wstring support = Ui::SupportAddress();
    Ui::NotificationOptions options{};
    options.buttons = L"Close";
    options.supportCaption = L"Contact Support";
    options.supportTarget = support.c_str();
    DialogOnSecondThread shown(L"Choose one.", options);
    const HWND dialog = shown.Dialog();
    ASSERT_NE(dialog, nullptr);
    for (const int id : {1001, kSupportLinkId, 23}) {
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HGDIOBJ>(::SendMessageW(::GetDlgItem(dialog, id), WM_GETFONT, 0, 0));
        ASSERT_EQ(::GetObjectW(handle, sizeof font, &font), static_cast<int>(sizeof font)) << id;
        EXPECT_EQ(std::wstring(font.lfFaceName), metrics.lfMessageFont.lfFaceName) << id;
        EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight) << id;
        EXPECT_EQ(font.lfUnderline != 0, id == kSupportLinkId) << id;
    }
    const auto cursorAt = [dialog](POINT point) {
        ::SendMessageW(dialog, WM_MOUSEMOVE, 0, ClientPoint(point));
        CURSORINFO cursor{};
        cursor.cbSize = sizeof cursor;
        ::GetCursorInfo(&cursor);
        return cursor.hCursor;
    };
    // The cursor read back is the foreground thread's: until the dialog is activated, another
    // window's cursor would come back whatever the dialog set.
    ASSERT_EQ(WaitForForeground(dialog), dialog);
    RECT link{};
    ::GetWindowRect(::GetDlgItem(dialog, kSupportLinkId), &link);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&link), 2);
    EXPECT_EQ(cursorAt(CentreOf(link)), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(cursorAt(POINT{5, 5}), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(cursorAt(POINT{link.right - 1, link.bottom - 1}), ::LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(cursorAt(POINT{link.right + 1, link.top}), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(shown.End(), IDCANCEL);
}

TEST_F(NotificationDisplay, TheLinkAndTheInstallButtonOpenTheirAddressesWithTheNormalShowCommand)
{
    const std::wstring installer = Ui::InstallerAddress();
    const std::wstring support = Ui::SupportAddress();
    const struct {
        const char* what;
        int id;
        const std::wstring& address;
    } cases[] = {{"support link", kSupportLinkId, support}, {"install button", 23, installer}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TestSupport::ScopedImportPatch patch("SHELL32.dll", "ShellExecuteW",
                                                   reinterpret_cast<void*>(&RecordShellOpen));
        ASSERT_TRUE(patch.Applied());
        g_shellOpens.Take();
        DialogOnSecondThread shown(L"Choose one.", LinkAndInstallButton(installer, support));
        const HWND dialog = shown.Dialog();
        ASSERT_NE(dialog, nullptr);
        if (c.id == kSupportLinkId) {
            const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
            const ControlInfo* link = FindControl(controls, kSupportLinkId);
            ASSERT_NE(link, nullptr);
            ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONDOWN, CentreOf(link->rect)));
            ASSERT_TRUE(MouseButton(dialog, WM_LBUTTONUP, CentreOf(link->rect)));
        } else {
            ASSERT_TRUE(TestSupport::ClickButton(dialog, c.id));
        }
        shown.End();
        EXPECT_EQ(g_shellOpens.Take(), (std::vector<std::pair<std::wstring, INT>>{{c.address, SW_SHOWNORMAL}}));
    }
}

// What a screen reader is told: the support link is a focusable link whose default action opens it;
// the message stays text.
TEST_F(NotificationDisplay, TheLinkIsAnnouncedAsALinkAndItsDefaultActionOpensIt)
{
    const System::Win32::ComScope com;
    const TestSupport::ScopedImportPatch patch("SHELL32.dll", "ShellExecuteW",
                                               reinterpret_cast<void*>(&RecordShellOpen));
    ASSERT_TRUE(patch.Applied());
    g_shellOpens.Take();
    const std::wstring installer = Ui::InstallerAddress();
    const std::wstring support = Ui::SupportAddress();
    DialogOnSecondThread shown(L"Choose one.", LinkAndInstallButton(installer, support));
    const HWND dialog = shown.Dialog();
    ASSERT_NE(dialog, nullptr);

    const auto accessible = [dialog](int id) {
        System::Win32::ComRef<IAccessible> object;
        ::AccessibleObjectFromWindow(::GetDlgItem(dialog, id), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                     object.putVoid());
        return object;
    };
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    // The standard description of the other controls differs between systems (Wine calls every one a
    // client area); only the link is a link.
    const struct {
        int id;
        bool link;
    } roles[] = {{kSupportLinkId, true}, {1001, false}, {23, false}};
    for (const auto& r : roles) {
        SCOPED_TRACE(r.id);
        const auto object = accessible(r.id);
        ASSERT_TRUE(object);
        VARIANT role{};
        ASSERT_EQ(object->get_accRole(self, &role), S_OK);
        EXPECT_EQ(role.vt, VT_I4);
        EXPECT_EQ(role.lVal == ROLE_SYSTEM_LINK, r.link) << "role " << role.lVal;
    }

    const auto link = accessible(kSupportLinkId);
    ASSERT_TRUE(link);
    BSTR name = nullptr;
    ASSERT_EQ(link->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name != nullptr ? name : L""), L"Contact Support");
    ::SysFreeString(name);
    VARIANT state{};
    ASSERT_EQ(link->get_accState(self, &state), S_OK);
    EXPECT_EQ(state.lVal & (STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE),
              STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE);
    ASSERT_EQ(link->accDoDefaultAction(self), S_OK);
    const ULONGLONG deadline = ::GetTickCount64() + kEndTimeoutMs;
    std::vector<std::pair<std::wstring, INT>> opened;
    while (opened.empty() && ::GetTickCount64() < deadline) {
        ::Sleep(20);
        opened = g_shellOpens.Take();
    }
    EXPECT_EQ(opened, (std::vector<std::pair<std::wstring, INT>>{{support, SW_SHOWNORMAL}}));
    EXPECT_EQ(shown.End(), IDCANCEL) << "the link leaves the dialog open";
}

TEST_F(NotificationDisplay, TheDialogAsksToComeToTheFrontOverAWindowOfAnotherProcess)
{
    HostProcess other(L"prompt 111");
    const HWND otherDialog = WaitForNotification(other);
    ASSERT_NE(otherDialog, nullptr);
    ASSERT_EQ(WaitForForeground(otherDialog), otherDialog);

    const TestSupport::ScopedImportPatch patch("USER32.dll", "SetForegroundWindow",
                                               reinterpret_cast<void*>(&RecordForegroundRequest));
    ASSERT_TRUE(patch.Applied());
    g_systemSetForegroundWindow = patch.Original<decltype(&::SetForegroundWindow)>();
    g_foregroundRequests.Take();
    const std::wstring installer = Ui::InstallerAddress();
    const std::wstring support = Ui::SupportAddress();
    DialogOnSecondThread shown(L"Choose one.", LinkAndInstallButton(installer, support));
    ASSERT_NE(shown.Dialog(), nullptr);
    EXPECT_EQ(WaitForForeground(shown.Dialog()), shown.Dialog());
    // Wine brings any window it shows to the front; Windows does not for a program in the background,
    // so the dialog must ask for it.
    EXPECT_EQ(g_foregroundRequests.Take(), std::vector<HWND>{shown.Dialog()});
    EXPECT_EQ(shown.End(), IDCANCEL);

    CancelDialog(otherDialog, Cancel::Escape);
    ASSERT_TRUE(HostEnds(other));
}

// A hook that refuses every window the thread tries to create.
LRESULT CALLBACK RefuseWindowCreation(int code, WPARAM, LPARAM)
{
    return code == HCBT_CREATEWND ? 1 : 0;
}

TEST_F(NotificationDisplay, ADialogThatCannotBeCreatedGivesMinusOneAndLeavesTheOwnerEnabled)
{
    const HWND owner = ::CreateWindowExW(0, L"Static", L"Test Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600,
                                         400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    ::SetForegroundWindow(owner);
    ::SetActiveWindow(owner);
    ASSERT_EQ(::GetActiveWindow(), owner);
    const HHOOK refuse = ::SetWindowsHookExW(WH_CBT, &RefuseWindowCreation, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(refuse, nullptr);
    const Win32xx::CWinApp app;
    EXPECT_EQ(Ui::ShowSupportPrompt(L"Never shown."), -1);
    ::UnhookWindowsHookEx(refuse);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

// The widest blank and word of `text` in the system's message font: how far short of its width limit
// a line may end, because the next word did not fit.
int WidestBlankAndWord(const std::wstring& text)
{
    const LOGFONTW logFont = UiTest::SystemNonClientMetrics().lfMessageFont;
    System::Win32::UniqueGdiObject font(::CreateFontIndirectW(&logFont));
    Ui::WindowDc screen(nullptr);
    Ui::SelectedObject selected(screen.get(), font.get());
    int widest = 0;
    std::wistringstream words(text);
    std::wstring word;
    while (words >> word) {
        const std::wstring blankAndWord = L" " + word;
        SIZE size{};
        ::GetTextExtentPoint32W(screen.get(), blankAndWord.c_str(), static_cast<int>(blankAndWord.size()), &size);
        widest = std::max<int>(widest, size.cx);
    }
    return widest;
}

// Run on a 1024 x 768 screen only (its own ctest entry).
class SmallScreen : public NotificationDisplay {};

TEST_F(SmallScreen, TheMessageWrapsToAThirdOfTheScreenLessIconAndMarginsAndTheDialogGrowsNoWider)
{
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    ASSERT_EQ(screenWidth, 1024);
    const int limit = screenWidth / 3 - 58 - ::GetSystemMetrics(SM_CXICON) - 16;
    for (const std::int32_t code : {103, 106, 111}) {
        SCOPED_TRACE(code);
        const std::wstring text = Ui::NotificationMessage(*Ui::FindNotification(code));
        HostProcess host(L"prompt " + std::to_wstring(code));
        const HWND dialog = WaitForNotification(host);
        ASSERT_NE(dialog, nullptr);
        const std::vector<ControlInfo> controls = TestSupport::DialogControls(dialog);
        const ControlInfo* message = FindControl(controls, 1001);
        ASSERT_NE(message, nullptr);
        // The message static is its widest line and 20 pixels (give or take dialog-unit rounding).
        const int widestLine = message->rect.right - message->rect.left - 20;
        EXPECT_LE(widestLine, limit + 2);
        EXPECT_GT(widestLine + WidestBlankAndWord(text), limit - 2) << "wrapped short of the limit";
        // The widest message with the icon column and the margins comes to a third of the screen and 2.
        RECT client{};
        ::GetClientRect(dialog, &client);
        EXPECT_LE(client.right, screenWidth / 3 + 2);
        SaveScreenshot(dialog, L"notification-" + std::to_wstring(code) + L"-small-screen");
        CancelDialog(dialog, Cancel::Escape);
        ASSERT_TRUE(HostEnds(host));
    }
}

}  // namespace
