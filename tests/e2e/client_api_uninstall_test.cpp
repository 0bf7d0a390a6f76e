// Uninstall: the wait on the game center or its event, the guard against a second uninstall of the
// same folder, and leaving the caller's job.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>

#include "app/folder_key.h"
#include "app/uninstall_event.h"
#include "app/zgc_api_cli.h"
#include "libraries/system/win32/unique_resource.h"
#include "stand_in_game_center.h"
#include "support/import_patch.h"
#include "support/test_paths.h"
#include "support/trust_seam.h"

namespace {

using E2e::ShownWindows;
using E2e::StandInGameCenter;
using System::Win32::UniqueHandle;
using TestSupport::ScopedEnvironmentVariable;

// The event name the game center derives for C:\Games\X (any spelling): FNV-1a of "C:/GAMES/X".
constexpr wchar_t kEventOfGamesX[] = L"1618767713tgc_uninstall_mtx";

TEST(ClientApiUninstall, EndsWhenTheGameCenterSetsTheFoldersEventOrEnds)
{
    // The game center may be built for the other architecture than the client: the event and the
    // process wait work across WoW64.
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Games\\X\\", E2e::kCurrentVersion},
        {L"c:/games/x", E2e::kCurrentVersion},
        {L"C:\\Games\\X", L"other_arch"},
    };
    for (const auto& [folder, variant] : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(std::wstring(folder) + L" " + variant));
        if (sizeof(void*) == 8 && std::wstring(variant) == L"other_arch" && !TestSupport::HostRuns32BitPrograms()) {
            std::printf(
                "skipped the other_arch row: its stand-in is a 32-bit program, which this machine cannot run\n");
            continue;
        }
        {
            // Signals, then stays: the event alone must end the wait.
            const StandInGameCenter gameCenter(variant);
            const ScopedEnvironmentVariable signal(L"TGC_FIXTURE_SET_EVENT", kEventOfGamesX);
            const ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"15000");
            ShownWindows shown;
            ZGC::ZGCApiCli client(folder, false, E2e::RecordingServices(shown));
            EXPECT_EQ(client.Uninstall(), kResultSuccess);
            const auto records = gameCenter.waitForRecords();
            ASSERT_EQ(records.size(), 1u);
            EXPECT_TRUE(TestSupport::ProcessIsRunning(records[0].processId));
            // Ending the wait did not take the signal: whoever opens the event next still sees it set.
            const UniqueHandle event(OpenEventW(SYNCHRONIZE, FALSE, kEventOfGamesX));
            EXPECT_TRUE(event && WaitForSingleObject(event.get(), 0) == WAIT_OBJECT_0);
            TestSupport::TerminateProcessById(records[0].processId);
            EXPECT_TRUE(shown.log.empty());
        }
        {
            // Signals an event of another folder, then ends: the process end ends the wait.
            const StandInGameCenter gameCenter(variant);
            const ScopedEnvironmentVariable signal(L"TGC_FIXTURE_SET_EVENT", L"0tgc_uninstall_mtx");
            const ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"300");
            ShownWindows shown;
            ZGC::ZGCApiCli client(folder, false, E2e::RecordingServices(shown));
            EXPECT_EQ(client.Uninstall(), kResultUninstallProcessEnded);
            const auto records = gameCenter.records();
            ASSERT_EQ(records.size(), 1u);
            EXPECT_FALSE(TestSupport::ProcessIsRunning(records[0].processId));
        }
    }
}

TEST(ClientApiUninstall, SecondUninstallOfTheSameFolderStartsAndShowsNothing)
{
    const StandInGameCenter gameCenter;
    const ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"4000");
    const std::wstring clientExe = TestSupport::ClientExePath();
    TestSupport::ChildOptions standardUser;
    standardUser.standardUser = true;  // the game center must start, so the first client is a standard user's
    const TestSupport::ChildProcess first(
        clientExe, L"\"" + clientExe + L"\" --uninstall --target-game-folder \"C:\\Games\\X\\\\\"", standardUser);
    ASSERT_EQ(gameCenter.waitForRecords().size(), 1u);  // the first client now waits
    ASSERT_TRUE(first.running());

    for (const bool quiet : {false, true}) {
        ShownWindows shown;
        ZGC::ZGCApiCli second(L"c:/games/x", quiet, E2e::RecordingServices(shown));
        EXPECT_EQ(second.Uninstall(), kResultLaunchFailed);
        EXPECT_TRUE(shown.log.empty());
    }
    EXPECT_TRUE(first.waitForExit(20000));
    EXPECT_EQ(gameCenter.records().size(), 1u);

    // Once the first has finished, the folder is free again.
    ShownWindows shown;
    ZGC::ZGCApiCli third(L"C:/Games/X", true, E2e::RecordingServices(shown));
    EXPECT_EQ(third.Uninstall(), kResultUninstallProcessEnded);
    EXPECT_EQ(gameCenter.waitForRecords(2).size(), 2u);
}

TEST(ClientApiUninstall, OnlyAnEventOfATrustedOwnerMeansAnotherUninstall)
{
    // The name is squatted: by an event of this account's default owner, whom no run trusts, or by a mutex,
    // so no event can be had. The game center starts and the client waits for its end. An event a trusted
    // account made (owned by Administrators, as an elevated client's is) refuses the uninstall.
    const std::wstring name = ZGC::UninstallEventName(0);
    const Discovery::TrustedSids trusted = TestSupport::TestRunRule(true).trusted;
    const struct {
        const char* name;
        std::function<UniqueHandle()> squat;
        ResultCode result;
    } cases[] = {
        {"event of an untrusted owner", [&] { return UniqueHandle(CreateEventW(nullptr, TRUE, TRUE, name.c_str())); },
         kResultUninstallProcessEnded},
        {"mutex", [&] { return UniqueHandle(CreateMutexW(nullptr, FALSE, name.c_str())); },
         kResultUninstallProcessEnded},
        {"event of Administrators", [&] { return ZGC::CreateUninstallEvent(name, true, trusted).handle; },
         kResultLaunchFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StandInGameCenter gameCenter;
        const UniqueHandle held = c.squat();
        ASSERT_TRUE(held);
        for (const wchar_t* folder : {L"", L"\\"}) {  // both give key 0
            ShownWindows shown;
            ZGC::ZGCApiCli client(folder, false, E2e::RecordingServices(shown));
            EXPECT_EQ(client.Uninstall(), c.result);
            EXPECT_TRUE(shown.log.empty());
        }
        const size_t starts = c.result == kResultLaunchFailed ? 0 : 2;
        EXPECT_EQ(gameCenter.waitForRecords(starts, 3000).size(), starts);
        std::printf("uninstall event squatted by %s: %zu game center starts\n", c.name, starts);
    }
}

TEST(ClientApiUninstall, FailedStartShowsTheUninstallNotificationUnlessQuiet)
{
    const StandInGameCenter gameCenter;
    for (const bool quiet : {false, true}) {
        ShownWindows shown;
        ZGC::ClientServices services = E2e::RecordingServices(shown);
        services.startProcess = [](const std::wstring&, const std::wstring&, DWORD, const std::wstring&) {
            System::Win32::ProcessStart refused;
            refused.error = ERROR_ACCESS_DENIED;
            return refused;
        };
        ZGC::ZGCApiCli client(L"C:\\Games\\Demo", quiet, services);
        EXPECT_EQ(client.Uninstall(), kResultLaunchFailed);
        EXPECT_EQ(shown.log, quiet ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"notification 105"});
    }
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

// Puts this test process into a new job; the process stays in it until it ends.
UniqueHandle JoinNewJob(DWORD limitFlags)
{
    UniqueHandle job = TestSupport::NewJob(limitFlags);
    if (!job || !AssignProcessToJobObject(job.get(), GetCurrentProcess()))
        return {};
    return job;
}

// Wine reads job limits back as 0: this answers the query with the limits the test gave its job, as
// Windows does.
DWORD g_jobLimits = 0;
decltype(&QueryInformationJobObject) g_systemJobQuery = nullptr;

BOOL WINAPI QueryGivenJobLimits(HANDLE job, JOBOBJECTINFOCLASS type, LPVOID info, DWORD size, LPDWORD length)
{
    if (!g_systemJobQuery(job, type, info, size, length))
        return FALSE;
    if (type == JobObjectBasicLimitInformation)
        static_cast<JOBOBJECT_BASIC_LIMIT_INFORMATION*>(info)->LimitFlags = g_jobLimits;
    return TRUE;
}

TEST(ClientApiUninstall, GameCenterLeavesTheJobExactlyWhenTheJobAllowsIt)
{
    const UniqueHandle job = JoinNewJob(JOB_OBJECT_LIMIT_BREAKAWAY_OK);
    ASSERT_TRUE(job);
    // The system here reads job limits back as 0, so the job's answer is handed in.
    const std::pair<std::optional<DWORD>, bool> cases[] = {
        {JOB_OBJECT_LIMIT_BREAKAWAY_OK, false},
        {JOB_OBJECT_LIMIT_BREAKAWAY_OK | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE, false},
        {0, true},
        {JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK, true},
        {std::nullopt, true},
    };
    for (const auto& [limitFlags, staysInJob] : cases) {
        SCOPED_TRACE(limitFlags ? std::to_string(*limitFlags) : "query failed");
        const StandInGameCenter gameCenter;
        ShownWindows shown;
        ZGC::ClientServices services = E2e::RecordingServices(shown);
        services.jobLimitFlags = [flags = limitFlags] { return flags; };
        ZGC::ZGCApiCli client(L"C:\\Games\\Demo", true, services);
        EXPECT_EQ(client.Uninstall(), kResultUninstallProcessEnded);
        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].inJob, staysInJob);
    }

    // The job's own answer, through the query the client makes.
    const TestSupport::ScopedImportPatch answer("KERNEL32.dll", "QueryInformationJobObject",
                                                reinterpret_cast<void*>(&QueryGivenJobLimits));
    ASSERT_TRUE(answer.Applied());
    g_systemJobQuery = answer.Original<decltype(&QueryInformationJobObject)>();
    for (const DWORD limits : {DWORD{JOB_OBJECT_LIMIT_BREAKAWAY_OK}, DWORD{0}}) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION given{};
        given.BasicLimitInformation.LimitFlags = g_jobLimits = limits;
        ASSERT_TRUE(SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &given, sizeof given));
        const StandInGameCenter gameCenter;
        ShownWindows shown;
        ZGC::ZGCApiCli client(L"C:\\Games\\Demo", true, E2e::RecordingServices(shown));
        EXPECT_EQ(client.Uninstall(), kResultUninstallProcessEnded);
        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].inJob, limits == 0) << limits;
    }

    // A job that forbids leaving it refuses the start that asks to.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION forbid{};
    ASSERT_TRUE(SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &forbid, sizeof forbid));
    const StandInGameCenter gameCenter;
    ShownWindows shown;
    ZGC::ClientServices services = E2e::RecordingServices(shown);
    services.jobLimitFlags = [] { return std::optional<DWORD>(JOB_OBJECT_LIMIT_BREAKAWAY_OK); };
    ZGC::ZGCApiCli client(L"C:\\Games\\Demo", false, services);
    EXPECT_EQ(client.Uninstall(), kResultLaunchFailed);
    EXPECT_EQ(shown.log, std::vector<std::wstring>{L"notification 105"});
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

}  // namespace
