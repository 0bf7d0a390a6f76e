// Uninstall: the wait on the game center or its event, the guard against a second uninstall of the
// same folder, and leaving the caller's job.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "app/folder_key.h"
#include "app/zgc_api_cli.h"
#include "libraries/system/win32/unique_resource.h"
#include "stand_in_game_center.h"
#include "support/import_patch.h"
#include "support/test_paths.h"

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
            std::printf("skipped the other_arch row: its stand-in is a 32-bit program, which this machine cannot run\n");
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
    const TestSupport::ChildProcess first(
        clientExe, L"\"" + clientExe + L"\" --uninstall --target-game-folder \"C:\\Games\\X\\\\\"");
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

TEST(ClientApiUninstall, EventHeldByAnyoneRefusesTheUninstall)
{
    const StandInGameCenter gameCenter;
    // An event of that name already exists; or the name belongs to a mutex, so no event can be made.
    for (const bool mutex : {false, true}) {
        const std::wstring name = ZGC::UninstallEventName(0);
        const UniqueHandle held(mutex ? CreateMutexW(nullptr, FALSE, name.c_str())
                                      : CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
        ASSERT_TRUE(held);
        for (const wchar_t* folder : {L"", L"\\", L"/"}) {  // all give key 0
            ShownWindows shown;
            ZGC::ZGCApiCli client(folder, false, E2e::RecordingServices(shown));
            EXPECT_EQ(client.Uninstall(), kResultLaunchFailed) << mutex;
            EXPECT_TRUE(shown.log.empty());
        }
    }
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

TEST(ClientApiUninstall, FailedStartShowsTheUninstallNotificationUnlessQuiet)
{
    // The client keeps the path it found when it was made; the game center then moves away from it
    // while another copy passes the check. Without administrator rights: with them a path file naming
    // nothing is passed over at once.
    const std::wstring gone = TestSupport::ScratchDir() + L"\\no-game-center-here";
    for (const bool quiet : {false, true}) {
        ShownWindows shown;
        std::optional<ZGC::ZGCApiCli> client;
        {
            const TestSupport::ScopedPathFile elsewhere(gone);
            client.emplace(L"C:\\Games\\Demo", quiet, E2e::RecordingServices(shown, false));
        }
        const StandInGameCenter gameCenter;
        EXPECT_EQ(client->gameCenterPath(), gone + L"\\tgc.exe");
        EXPECT_EQ(client->Uninstall(), kResultLaunchFailed);
        EXPECT_EQ(shown.log, quiet ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"notification 105"});
        EXPECT_TRUE(gameCenter.nothingStarted(300));
    }
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
