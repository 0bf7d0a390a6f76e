// The launcher client driven inside the test process against the stand-in game center: the result
// code of every operation, and which windows it asks for.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/client_windows.h"
#include "app/game_center_start.h"
#include "app/zgc_api_cli.h"
#include "stand_in_game_center.h"
#include "support/test_paths.h"

namespace {

using E2e::ShownWindows;
using E2e::StandInGameCenter;

struct Operation {
    const char* name;
    std::function<ResultCode(ZGC::ZGCApiCli&)> run;
    std::int32_t notification;
};

const Operation kOperations[] = {
    {"Open", [](ZGC::ZGCApiCli& c) { return c.Open(); }, 110},
    {"Update", [](ZGC::ZGCApiCli& c) { return c.Update(); }, 103},
    {"VerifyIntegrity", [](ZGC::ZGCApiCli& c) { return c.VerifyIntegrity(); }, 110},
    {"ChangeClientType", [](ZGC::ZGCApiCli& c) { return c.ChangeClientType(L"beta"); }, 106},
    {"Install", [](ZGC::ZGCApiCli& c) { return c.Install(L"pkg"); }, 110},
    {"Uninstall", [](ZGC::ZGCApiCli& c) { return c.Uninstall(); }, 105},
};

const Operation& Uninstall()
{
    return kOperations[5];
}

constexpr wchar_t kFolder[] = L"C:\\Games\\Demo";

TEST(ClientApiResults, InstalledGameCenterIsStartedOncePerOperation)
{
    // 0.0.0.1 is older but always accepted; newer ones pass the minimum.
    for (const wchar_t* variant : {L"26.0.2.1046", L"26.0.3.0", L"27.0.0.0", L"0.0.0.1"}) {
        for (const Operation& operation : kOperations) {
            for (const bool quiet : {false, true}) {
                SCOPED_TRACE(TestSupport::WideToUtf8(variant) + " " + operation.name + (quiet ? " quiet" : ""));
                const StandInGameCenter gameCenter(variant);
                ShownWindows shown;
                ZGC::ZGCApiCli client(kFolder, quiet, E2e::RecordingServices(shown));
                EXPECT_EQ(client.gameCenterPath(), gameCenter.executable());
                // Uninstall waits; this game center ends without signalling, which is result 1.
                const ResultCode expected = &operation == &Uninstall() ? kResultUninstallProcessEnded : kResultSuccess;
                EXPECT_EQ(operation.run(client), expected);
                EXPECT_EQ(gameCenter.waitForRecords().size(), 1u);
                EXPECT_TRUE(shown.log.empty());
            }
        }
    }
}

TEST(ClientApiResults, MissingOrOutdatedGameCenterIsReportedAndNotStarted)
{
    struct Installed {
        const wchar_t* variant;  // nullptr: nothing installed
        ResultCode result;
    };
    const Installed cases[] = {
        {nullptr, kResultNotInstalled},
        {L"26.0.2.1045", kResultOutdated},
        {L"0.0.0.2", kResultOutdated},
        {L"noversion", kResultOutdated},  // no version resource reads as 0.0.0.0
    };
    for (const Installed& installed : cases) {
        for (const Operation& operation : kOperations) {
            for (const bool quiet : {false, true}) {
                SCOPED_TRACE(std::string(installed.variant ? TestSupport::WideToUtf8(installed.variant) : "none") +
                             " " + operation.name + (quiet ? " quiet" : ""));
                const TestSupport::ScopedNoGameCenter nothing;
                std::optional<StandInGameCenter> gameCenter;
                std::optional<E2e::StartLog> log;
                if (installed.variant)
                    gameCenter.emplace(installed.variant);
                else
                    log.emplace();
                ShownWindows shown;
                ZGC::ZGCApiCli client(kFolder, quiet, E2e::RecordingServices(shown));
                EXPECT_EQ(operation.run(client), installed.result);

                std::vector<std::wstring> expected;
                if (!quiet && installed.result == kResultOutdated)
                    expected = {L"outdated notification"};  // whatever the operation
                else if (!quiet)
                    expected = {L"notification " + std::to_wstring(operation.notification)};
                EXPECT_EQ(shown.log, expected);
                EXPECT_TRUE(gameCenter ? gameCenter->nothingStarted(50) : log->nothingStarted(50));
            }
        }
    }
}

TEST(ClientApiResults, GameCenterGoneAtStartTimeGivesTheWin32CodeAfterMessageAndNotification)
{
    // The check passes, then the game center disappears before the start: its folder is empty (2),
    // or no game center is found at all (3).
    const std::wstring emptyFolder = TestSupport::ScratchDir();
    for (const Operation& operation : kOperations) {
        if (&operation == &Uninstall())
            continue;  // uninstall starts the path it was built with; see the uninstall tests
        for (const DWORD error : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_PATH_NOT_FOUND}}) {
            for (const bool quiet : {false, true}) {
                SCOPED_TRACE(std::string(operation.name) + " error " + std::to_string(error) + (quiet ? " quiet" : ""));
                const TestSupport::ScopedNoGameCenter nothing;
                std::optional<StandInGameCenter> gameCenter(std::in_place);
                const std::wstring gameCenterPath = gameCenter->executable();
                std::optional<TestSupport::ScopedPathFile> moved;
                ShownWindows shown;
                ZGC::ClientServices services = E2e::RecordingServices(shown);
                services.launchProcess = [&](const std::wstring& arguments, DWORD& startError) {
                    if (error == ERROR_FILE_NOT_FOUND)
                        moved.emplace(emptyFolder);
                    else
                        gameCenter.reset();
                    return ZGC::LaunchGameCenterProcess(arguments, startError);
                };
                ZGC::ZGCApiCli client(kFolder, quiet, services);
                EXPECT_EQ(operation.run(client), static_cast<ResultCode>(0x80070000u | error));

                std::vector<std::wstring> expected;
                if (!quiet)
                    expected = {
                        L"message box: Failed to start " + gameCenterPath + L"\r\n" + ZGC::SystemMessageText(error),
                        L"notification " + std::to_wstring(operation.notification)};
                EXPECT_EQ(shown.log, expected);
            }
        }
    }
}

TEST(ClientApiResults, UnstartableGameCenterGivesTheSystemsReason)
{
    // It passes the check (right version) but is no program: the ordinary start fails for real.
    const StandInGameCenter unstartable(L"not_a_program");
    for (const Operation& operation : kOperations) {
        for (const bool quiet : {false, true}) {
            SCOPED_TRACE(std::string(operation.name) + (quiet ? " quiet" : ""));
            ShownWindows shown;
            ZGC::ZGCApiCli client(kFolder, quiet, E2e::RecordingServices(shown));
            std::vector<std::wstring> expected;
            if (&operation == &Uninstall()) {
                EXPECT_EQ(operation.run(client), kResultLaunchFailed);
                if (!quiet)
                    expected = {L"notification 105"};
            } else {
                EXPECT_EQ(operation.run(client), static_cast<ResultCode>(0x800700C1u));
                if (!quiet)
                    expected = {L"message box: Failed to start " + unstartable.executable() + L"\r\n" +
                                    ZGC::SystemMessageText(ERROR_BAD_EXE_FORMAT),
                                L"notification " + std::to_wstring(operation.notification)};
            }
            EXPECT_EQ(shown.log, expected);
        }
    }
}

}  // namespace
