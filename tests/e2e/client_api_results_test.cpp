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

TEST(ClientApiResults, WhatTheCheckHeldIsWhatStarts)
{
    // Between the check and the start the path file is made to name another folder and the checked
    // tgc.exe is to be deleted: the file is held without delete sharing, and the one checked starts.
    const std::wstring emptyFolder = TestSupport::ScratchDir();
    for (const Operation& operation : kOperations) {
        SCOPED_TRACE(operation.name);
        const TestSupport::ScopedNoGameCenter nothing;
        const StandInGameCenter gameCenter;
        std::optional<TestSupport::ScopedPathFile> moved;
        DWORD deleteError = 0;
        ShownWindows shown;
        ZGC::ClientServices services = E2e::RecordingServices(shown);
        const auto meddle = [&] {
            moved.emplace(emptyFolder);
            deleteError = DeleteFileW(gameCenter.executable().c_str()) ? 0 : GetLastError();
        };
        services.launchProcess = [&](const std::wstring& path, const std::wstring& arguments, DWORD& startError) {
            meddle();
            return ZGC::LaunchGameCenterProcess(path, arguments, startError);
        };
        const auto start = services.startProcess;
        services.startProcess = [&](const std::wstring& path, const std::wstring& commandLine, DWORD flags,
                                    const std::wstring& folder) {
            meddle();
            return start(path, commandLine, flags, folder);
        };
        ZGC::ZGCApiCli client(kFolder, true, services);
        const ResultCode expected = &operation == &Uninstall() ? kResultUninstallProcessEnded : kResultSuccess;
        EXPECT_EQ(operation.run(client), expected);
        EXPECT_EQ(deleteError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(gameCenter.waitForRecords().size(), 1u);
    }
    // Nothing to start at all: the system's reason for an empty path.
    DWORD startError = 0;
    EXPECT_FALSE(ZGC::LaunchGameCenterProcess(L"", L"--open", startError));
    EXPECT_EQ(startError, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
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
