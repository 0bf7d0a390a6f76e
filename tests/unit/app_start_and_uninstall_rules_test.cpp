#include <gtest/gtest.h>

#include <windows.h>

#include "app/client_main.h"
#include "app/client_windows.h"
#include "app/job_breakaway.h"
#include "app/uninstall_wait.h"
#include "libraries/system/win32/unique_resource.h"
#include "support/import_patch.h"

namespace {

TEST(UninstallRules, BreakawayOnlyWhenTheJobAllowsIt)
{
    const std::pair<std::optional<DWORD>, DWORD> cases[] = {
        {std::nullopt, 0},
        {0, 0},
        {JOB_OBJECT_LIMIT_BREAKAWAY_OK, CREATE_BREAKAWAY_FROM_JOB},
        {JOB_OBJECT_LIMIT_BREAKAWAY_OK | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE, CREATE_BREAKAWAY_FROM_JOB},
        {JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK, 0},
        {JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE, 0},
        {0xFFFFFFFFu, CREATE_BREAKAWAY_FROM_JOB},
    };
    for (const auto& [limits, flags] : cases)
        EXPECT_EQ(ZGC::BreakawayCreationFlags(limits), flags) << (limits ? *limits : 0xDEADu);
}

TEST(UninstallRules, WaitEndsWithProcessEventOrTheWaitsError)
{
    EXPECT_EQ(ZGC::UninstallWaitResult(WAIT_OBJECT_0, 0), kResultUninstallProcessEnded);
    EXPECT_EQ(ZGC::UninstallWaitResult(WAIT_OBJECT_0 + 1, 0), kResultSuccess);
    EXPECT_EQ(ZGC::UninstallWaitResult(WAIT_ABANDONED_0 + 1, 0), kResultSuccess);
    EXPECT_EQ(ZGC::UninstallWaitResult(WAIT_FAILED, ERROR_INVALID_HANDLE), static_cast<ResultCode>(0x80070006u));
    EXPECT_EQ(ZGC::UninstallWaitResult(WAIT_FAILED, ERROR_ACCESS_DENIED), static_cast<ResultCode>(0x80070005u));
    EXPECT_EQ(ZGC::UninstallWaitResult(WAIT_FAILED, 0), kResultFailedWithoutCode);  // failed, never success
}

// An uninstall the game center takes 45 minutes over: the wait answers as the system would, by the
// time-out it was asked for.
constexpr DWORD kUninstallTakesMs = 45 * 60 * 1000;
DWORD g_askedTimeoutMs = 0;

DWORD WINAPI WaitOfALongUninstall(DWORD, const HANDLE*, BOOL, DWORD timeoutMs)
{
    g_askedTimeoutMs = timeoutMs;
    return timeoutMs < kUninstallTakesMs ? WAIT_TIMEOUT : WAIT_OBJECT_0 + 1;
}

TEST(UninstallRules, WaitHasNoTimeOut)
{
    const TestSupport::ScopedImportPatch wait("KERNEL32.dll", "WaitForMultipleObjects",
                                              reinterpret_cast<void*>(&WaitOfALongUninstall));
    ASSERT_TRUE(wait.Applied());
    const System::Win32::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const ZGC::UninstallWait waited = ZGC::WaitForUninstall(GetCurrentProcess(), event.get());
    EXPECT_EQ(waited.waitResult, WAIT_OBJECT_0 + 1) << "the wait gave up while the game center worked on";
    EXPECT_EQ(g_askedTimeoutMs, INFINITE);
}

TEST(StartFailureMessage, NamesTheGameCenterAndTheSystemsReasonOnItsOwnLine)
{
    for (const DWORD error : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_PATH_NOT_FOUND}, DWORD{ERROR_ACCESS_DENIED}}) {
        const std::wstring reason = ZGC::SystemMessageText(error);
        ASSERT_FALSE(reason.empty()) << error;
        EXPECT_NE(reason.back(), L'\n');
        EXPECT_NE(reason.back(), L' ');
        EXPECT_NE(reason.front(), L' ');
        EXPECT_EQ(ZGC::StartFailureMessage(L"C:\\GC\\tgc.exe", error), L"Failed to start C:\\GC\\tgc.exe\r\n" + reason);
    }
    EXPECT_EQ(ZGC::SystemMessageText(0x3FFFFFFFu), L"");
    EXPECT_EQ(ZGC::StartFailureMessage(L"C:\\GC\\tgc.exe", 0x3FFFFFFFu), L"Failed to start C:\\GC\\tgc.exe\r\n");
}

TEST(ClientStart, CriticalErrorBoxesAreSuppressedAndOtherErrorModeBitsKept)
{
    const UINT original = SetErrorMode(0);
    for (const UINT inherited :
         {0u, UINT{SEM_NOGPFAULTERRORBOX}, UINT{SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX}}) {
        SetErrorMode(inherited);
        ZGC::SuppressCriticalErrorBoxes();
        EXPECT_EQ(GetErrorMode(), inherited | SEM_FAILCRITICALERRORS) << inherited;
    }
    SetErrorMode(original);
}

}  // namespace
