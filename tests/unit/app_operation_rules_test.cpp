// Each operation's decisions, with every outside answer chosen here and every outside call written down.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/client_windows.h"
#include "app/game_center_command_line.h"
#include "app/zgc_api_cli.h"

namespace {

using Calls = std::vector<std::wstring>;

constexpr wchar_t kGameCenter[] = L"C:\\GC\\tgc.exe";
constexpr wchar_t kFolder[] = L"C:\\Games\\X";
// The event the game center derives for C:\Games\X: FNV-1a of "C:/GAMES/X".
constexpr wchar_t kEventOfGamesX[] = L"1618767713tgc_uninstall_mtx";

// The machine as the launcher client sees it: the answers are the test's, the calls are recorded.
struct StandInSystem {
    ResultCode discovery = kResultSuccess;
    DWORD launchError = 0;          // 0: the ordinary start succeeds
    bool eventMade = true;          // false: the name is taken by something not to be trusted
    bool anotherUninstall = false;  // the name is taken by a trusted account's event
    bool processStarted = true;
    DWORD waitResult = WAIT_OBJECT_0;
    DWORD waitError = 0;
    Calls calls;

    ZGC::ClientServices Services()
    {
        ZGC::ClientServices services;
        services.discoverGameCenter = [this] {
            calls.push_back(L"discover");
            return Discovery::DiscoveredGameCenter{discovery,
                                                   Discovery::HeldChain(kGameCenter, Discovery::ChainVerdict::Trusted)};
        };
        services.launchProcess = [this](const std::wstring& path, const std::wstring& argumentText, DWORD& startError) {
            calls.push_back(L"launch " + path + L" " + argumentText);
            startError = launchError;
            return launchError == 0;
        };
        services.shellExecuteRunAs = [this](const wchar_t* verb, const wchar_t* file, const wchar_t*,
                                            const wchar_t* directory, int, System::Win32::UniqueHandle&) {
            calls.push_back(std::wstring(verb) + L" " + file + L" in " + (directory ? directory : L"(ours)"));
        };
        services.jobLimitFlags = [] { return std::optional<DWORD>(JOB_OBJECT_LIMIT_BREAKAWAY_OK); };
        services.createUninstallEvent = [this](const std::wstring& name) {
            calls.push_back(L"event " + name);
            ZGC::UninstallEvent created;
            if (eventMade && !anotherUninstall)
                created.handle.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
            created.anotherUninstall = anotherUninstall;
            return created;
        };
        services.startProcess = [this](const std::wstring& path, const std::wstring& commandLine, DWORD flags,
                                       const std::wstring& folder) {
            calls.push_back(L"start " + path + L" | " + commandLine + L" | " + std::to_wstring(flags) + L" | " +
                            folder);
            System::Win32::ProcessStart started;
            if (processStarted)
                started.process.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));  // any handle to wait on
            else
                started.error = ERROR_ACCESS_DENIED;
            return started;
        };
        services.waitForUninstall = [this](HANDLE process, HANDLE uninstallEvent) {
            calls.push_back(process == nullptr          ? L"wait without the game center"
                            : uninstallEvent != nullptr ? L"wait"
                                                        : L"wait for the game center alone");
            return ZGC::UninstallWait{waitResult, waitError};
        };
        services.showNotification = [this](std::int32_t code) {
            calls.push_back(L"notification " + std::to_wstring(code));
        };
        services.showOutdatedNotification = [this] { calls.push_back(L"outdated notification"); };
        services.showStartFailure = [this](const std::wstring& message) { calls.push_back(L"message box " + message); };
        return services;
    }
};

TEST(OperationRules, UpdateChecksThenStartsAndTellsOnlyWhenNotQuiet)
{
    const std::wstring launch =
        std::wstring(L"launch ") + kGameCenter + L" " + ZGC::GameCenterArgumentText(kFolder, ZGC::kUpdateArguments);
    const std::wstring denied =
        L"message box Failed to start C:\\GC\\tgc.exe\r\n" + ZGC::SystemMessageText(ERROR_ACCESS_DENIED);
    const struct {
        ResultCode discovery;
        DWORD launchError;
        bool quiet;
        ResultCode result;
        Calls calls;
    } cases[] = {
        {kResultSuccess, 0, false, kResultSuccess, {L"discover", launch}},
        {kResultNotInstalled, 0, false, kResultNotInstalled, {L"discover", L"notification 103"}},
        {kResultNotInstalled, 0, true, kResultNotInstalled, {L"discover"}},
        {kResultOutdated, 0, false, kResultOutdated, {L"discover", L"outdated notification"}},
        {kResultOutdated, 0, true, kResultOutdated, {L"discover"}},
        {kResultSuccess,
         ERROR_ACCESS_DENIED,
         false,
         static_cast<ResultCode>(0x80070005u),
         {L"discover", launch, denied, L"notification 103"}},
        {kResultSuccess, ERROR_ACCESS_DENIED, true, static_cast<ResultCode>(0x80070005u), {L"discover", launch}},
        {kResultSuccess, 740, false, kResultSuccess, {L"discover", launch, L"runas C:\\GC\\tgc.exe in C:\\GC"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.discovery) + " launch " + std::to_string(c.launchError) +
                     (c.quiet ? " quiet" : ""));
        StandInSystem system;
        system.discovery = c.discovery;
        system.launchError = c.launchError;
        ZGC::ZGCApiCli client(kFolder, c.quiet, system.Services());
        EXPECT_EQ(client.Update(), c.result);
        EXPECT_EQ(system.calls, c.calls);
    }
}

TEST(OperationRules, UninstallGoesAsFarAsEachAnswerAllows)
{
    const std::wstring event = std::wstring(L"event ") + kEventOfGamesX;
    const auto start = [](bool quiet) {
        return std::wstring(L"start ") + kGameCenter + L" | " + ZGC::UninstallCommandLine(kGameCenter, kFolder, quiet) +
               L" | " + std::to_wstring(CREATE_BREAKAWAY_FROM_JOB) + L" | C:\\GC";
    };
    const struct {
        const char* name;
        void (*arrange)(StandInSystem&);
        bool quiet;
        ResultCode result;
        Calls calls;
    } cases[] = {
        {"not installed",
         [](StandInSystem& s) { s.discovery = kResultNotInstalled; },
         false,
         kResultNotInstalled,
         {L"discover", L"notification 105"}},
        {"name taken by an untrusted owner",
         [](StandInSystem& s) { s.eventMade = false; },
         false,
         kResultUninstallProcessEnded,
         {L"discover", event, start(false), L"wait for the game center alone"}},
        {"event of a trusted owner: another uninstall",
         [](StandInSystem& s) { s.anotherUninstall = true; },
         false,
         kResultLaunchFailed,
         {L"discover", event}},
        {"no start",
         [](StandInSystem& s) { s.processStarted = false; },
         false,
         kResultLaunchFailed,
         {L"discover", event, start(false), L"notification 105"}},
        {"no start, quiet",
         [](StandInSystem& s) { s.processStarted = false; },
         true,
         kResultLaunchFailed,
         {L"discover", event, start(true)}},
        {"game center ended",
         [](StandInSystem& s) { s.waitResult = WAIT_OBJECT_0; },
         true,
         kResultUninstallProcessEnded,
         {L"discover", event, start(true), L"wait"}},
        {"event set",
         [](StandInSystem& s) { s.waitResult = WAIT_OBJECT_0 + 1; },
         false,
         kResultSuccess,
         {L"discover", event, start(false), L"wait"}},
        {"wait failed",
         [](StandInSystem& s) {
             s.waitResult = WAIT_FAILED;
             s.waitError = ERROR_INVALID_HANDLE;
         },
         false,
         static_cast<ResultCode>(0x80070006u),
         {L"discover", event, start(false), L"wait"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StandInSystem system;
        c.arrange(system);
        ZGC::ZGCApiCli client(kFolder, c.quiet, system.Services());
        EXPECT_EQ(client.Uninstall(), c.result);
        EXPECT_EQ(system.calls, c.calls);
    }
}

}  // namespace
