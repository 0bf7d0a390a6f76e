// Starting a game center that demands elevation. The system here never makes that demand, so the
// ordinary start is replaced by one that answers 740; the shell start is replaced where its answer
// must be chosen (declined, failed) and used for real otherwise. Both run it in its own folder.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/client_windows.h"
#include "app/game_center_command_line.h"
#include "app/game_center_start.h"
#include "app/zgc_api_cli.h"
#include "errors/err.h"
#include "stand_in_game_center.h"
#include "support/test_paths.h"

namespace {

using E2e::ShownWindows;
using E2e::StandInGameCenter;

constexpr DWORD kElevationRequired = 740;
constexpr wchar_t kArguments[] = L"--target-game-folder \"C:\\Games\\Demo\" --update -d \"C:\\Games\\Demo\"";

struct ShellCall {
    std::wstring verb, file, parameters;
    std::wstring directory = L"(none)";
    int showCommand = -1;
};

// Services whose ordinary start fails with `launchError` and whose shell start ends with `shellError`
// (0: success), recording the shell call.
ZGC::ClientServices ElevationServices(ShownWindows& shown, std::vector<ShellCall>& shellCalls, DWORD launchError,
                                      DWORD shellError)
{
    ZGC::ClientServices services = E2e::RecordingServices(shown);
    services.launchProcess = [launchError](const std::wstring&, const std::wstring&, DWORD& startError) {
        startError = launchError;
        return false;
    };
    services.shellExecuteRunAs = [&shellCalls, shellError](const wchar_t* verb, const wchar_t* file,
                                                           const wchar_t* parameters, const wchar_t* directory,
                                                           int showCommand, System::Win32::UniqueHandle&) {
        shellCalls.push_back({verb, file, parameters, directory ? directory : L"(none)", showCommand});
        if (shellError != 0)
            Err::makeSystemError(static_cast<int>(shellError), "shell start")->raise();
    };
    return services;
}

TEST(ClientApiElevation, ElevatedStartIsTriedOnlyWhenTheSystemDemandsIt)
{
    struct Case {
        DWORD launchError;
        DWORD shellError;
        ResultCode result;
        bool reported;  // message box and notification, unless quiet
    };
    const Case cases[] = {
        {kElevationRequired, 0, kResultSuccess, false},
        {kElevationRequired, ERROR_CANCELLED, static_cast<ResultCode>(0x800704C7u), false},  // the user said no
        {kElevationRequired, ERROR_FILE_NOT_FOUND, static_cast<ResultCode>(0x80070002u), true},
        {kElevationRequired, ERROR_ACCESS_DENIED, static_cast<ResultCode>(0x80070005u), true},
        {ERROR_ACCESS_DENIED, 0, static_cast<ResultCode>(0x80070005u), true},
        {ERROR_BAD_EXE_FORMAT, 0, static_cast<ResultCode>(0x800700C1u), true},
        {ERROR_CANCELLED, 0, static_cast<ResultCode>(0x800704C7u), false},  // also from the ordinary start
        {0, 0, kResultFailedWithoutCode, true},  // a failed start the system gave no reason for
    };
    const StandInGameCenter gameCenter;
    for (const Case& c : cases) {
        for (const bool quiet : {false, true}) {
            SCOPED_TRACE("launch " + std::to_string(c.launchError) + " shell " + std::to_string(c.shellError) +
                         (quiet ? " quiet" : ""));
            ShownWindows shown;
            std::vector<ShellCall> shellCalls;
            ZGC::ZGCApiCli client(L"C:\\Games\\Demo", quiet,
                                  ElevationServices(shown, shellCalls, c.launchError, c.shellError));
            EXPECT_EQ(client.StartGameCenter(103, gameCenter.executable(), kArguments), c.result);

            if (c.launchError == kElevationRequired) {
                ASSERT_EQ(shellCalls.size(), 1u);
                EXPECT_EQ(shellCalls[0].verb, L"runas");
                EXPECT_EQ(shellCalls[0].file, gameCenter.executable());
                EXPECT_EQ(shellCalls[0].parameters, kArguments);
                EXPECT_EQ(shellCalls[0].directory, gameCenter.folder());
                EXPECT_EQ(shellCalls[0].showCommand, SW_SHOWNORMAL);
            } else {
                EXPECT_TRUE(shellCalls.empty());
            }
            const DWORD error = c.launchError == kElevationRequired ? c.shellError : c.launchError;
            std::vector<std::wstring> expected;
            if (c.reported && !quiet)
                expected = {L"message box: " + ZGC::StartFailureMessage(gameCenter.executable(), error),
                            L"notification 103"};
            EXPECT_EQ(shown.log, expected);
        }
    }
    EXPECT_TRUE(gameCenter.records().empty());
}

TEST(ClientApiElevation, ElevatedShellStartRunsTheGameCenterInItsOwnFolderNotOurs)
{
    const StandInGameCenter gameCenter;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring here = TestSupport::ScratchDir();
    ASSERT_TRUE(SetCurrentDirectoryW(here.c_str()));

    ShownWindows shown;
    ZGC::ClientServices services = E2e::RecordingServices(shown);
    services.launchProcess = [](const std::wstring&, const std::wstring&, DWORD& startError) {
        startError = kElevationRequired;
        return false;
    };
    ZGC::ZGCApiCli client(L"D:\\My Games\\\u0418\u0433\u0440\u0430", false, services);
    EXPECT_EQ(client.Update(), kResultSuccess);
    SetCurrentDirectoryW(previous);

    const auto records = gameCenter.waitForRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].currentDirectory, gameCenter.folder());
    EXPECT_EQ(E2e::ArgvOf(records[0].commandLine),
              (std::vector<std::wstring>{gameCenter.executable(), L"--target-game-folder",
                                         L"D:\\My Games\\\u0418\u0433\u0440\u0430", L"--update", L"-d",
                                         L"D:\\My Games\\\u0418\u0433\u0440\u0430"}));
    EXPECT_TRUE(shown.log.empty());
}

TEST(ClientApiElevation, ShellStartFailureCarriesTheWin32Code)
{
    const std::wstring missing = TestSupport::ScratchDir() + L"\\missing\\tgc.exe";
    System::Win32::UniqueHandle process;
    try {
        ZGC::ShellExecuteRunAs(L"runas", missing.c_str(), L"--open", nullptr, SW_SHOWNORMAL, process);
        ADD_FAILURE() << "a missing program started";
    } catch (const Err::CodeBasedError<Err::SystemError_t>& error) {
        EXPECT_TRUE(error.code() == ERROR_FILE_NOT_FOUND || error.code() == ERROR_PATH_NOT_FOUND) << error.code();
    }
    EXPECT_FALSE(process);
}

TEST(ClientApiElevation, ShellStartHandsBackTheStartedProcess)
{
    const StandInGameCenter gameCenter;
    System::Win32::UniqueHandle process;
    ZGC::ShellExecuteRunAs(L"runas", gameCenter.executable().c_str(), L"--open -d \"C:\\x y\"", nullptr, SW_SHOWNORMAL,
                           process);
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
    const auto records = gameCenter.waitForRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].processId, GetProcessId(process.get()));
    EXPECT_EQ(E2e::ArgvOf(records[0].commandLine),
              (std::vector<std::wstring>{gameCenter.executable(), L"--open", L"-d", L"C:\\x y"}));
}

}  // namespace
