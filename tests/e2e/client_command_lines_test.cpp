// The built client started as a child process: what the stand-in game center receives for each switch.
#include <gtest/gtest.h>

#include <windows.h>

#include "libraries/system/win32/unique_resource.h"
#include "stand_in_game_center.h"
#include "support/test_paths.h"

namespace {

using E2e::StandInGameCenter;
using System::Win32::UniqueHandle;

constexpr DWORD kClientTimeoutMs = 20000;

struct ReceivedCase {
    const wchar_t* clientArguments;
    const wchar_t* receivedArguments;  // after the game center's quoted path and a blank
};

TEST(ClientCommandLines, GameCenterReceivesTheOperationInItsOwnFolder)
{
    const ReceivedCase cases[] = {
        {L"--target-game-folder \"C:\\Games\\Demo\"",
         L"--target-game-folder \"C:\\Games\\Demo\" --open -d \"C:\\Games\\Demo\""},
        {L"--update --target-game-folder \"C:\\Games\\Demo\"",
         L"--target-game-folder \"C:\\Games\\Demo\" --update -d \"C:\\Games\\Demo\""},
        {L"--verify-integrity --target-game-folder C:\\Games\\Demo",
         L"--target-game-folder \"C:\\Games\\Demo\" --verify-integrity -d \"C:\\Games\\Demo\""},
        {L"--cct \"beta test\" --target-game-folder C:\\Games\\Demo",
         L"--target-game-folder \"C:\\Games\\Demo\" -ct -t beta test -d \"C:\\Games\\Demo\""},
        {L"--install pkg-7 --target-game-folder C:\\Games\\Demo",
         L"--target-game-folder \"C:\\Games\\Demo\" --install -g pkg-7 -d \"C:\\Games\\Demo\""},
        {L"--uninstall --target-game-folder C:\\Games\\Demo",
         L"--uninstall -d \"C:\\Games\\Demo\"  --target-game-folder \"C:\\Games\\Demo\""},
        {L"--quiet --uninstall --target-game-folder C:\\Games\\Demo",
         L"--uninstall -d \"C:\\Games\\Demo\" --pa --target-game-folder \"C:\\Games\\Demo\""},
        // The first switch wins; later ones are ignored.
        {L"--update --uninstall --target-game-folder C:\\Games\\Demo",
         L"--target-game-folder \"C:\\Games\\Demo\" --update -d \"C:\\Games\\Demo\""},
        {L"--target-game-folder C:\\Games\\Demo --target-game-folder D:\\Other --verify-integrity --update",
         L"--target-game-folder \"C:\\Games\\Demo\" --verify-integrity -d \"C:\\Games\\Demo\""},
        // The folder switch takes the next token whatever it is, and the scan still acts on that token.
        {L"--target-game-folder --update", L"--target-game-folder \"--update\" --update -d \"--update\""},
        // Unknown tokens, capitals and a value switch at the end all lead to open.
        {L"--UPDATE --target-game-folder C:\\Games\\Demo",
         L"--target-game-folder \"C:\\Games\\Demo\" --open -d \"C:\\Games\\Demo\""},
        {L"--open --pa --target-game-folder C:\\Games\\Demo",
         L"--target-game-folder \"C:\\Games\\Demo\" --open -d \"C:\\Games\\Demo\""},
        {L"--target-game-folder C:\\Games\\Demo --cct",
         L"--target-game-folder \"C:\\Games\\Demo\" --open -d \"C:\\Games\\Demo\""},
        {L"--quiet --target-game-folder C:\\Games\\Demo --install",
         L"--target-game-folder \"C:\\Games\\Demo\" --open -d \"C:\\Games\\Demo\""},
    };
    for (const ReceivedCase& c : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(c.clientArguments));
        const StandInGameCenter gameCenter;
        EXPECT_EQ(TestSupport::RunClient(c.clientArguments, kClientTimeoutMs), 0u);
        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].commandLine, L"\"" + gameCenter.executable() + L"\" " + c.receivedArguments);
        EXPECT_EQ(records[0].currentDirectory, gameCenter.folder());
    }
}

TEST(ClientCommandLines, GameCenterParsesBackTheExactFolder)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"\"C:\\\\\"", L"C:\\"},
        {L"C:\\", L"C:\\"},
        {L"\"D:\\My Games\\Demo\"", L"D:\\My Games\\Demo"},
        {L"\"C:\\\u0418\u0433\u0440\u044b\\\u0414\u0435\u043c\u043e \u00e9t\u00e9\"",
         L"C:\\\u0418\u0433\u0440\u044b\\\u0414\u0435\u043c\u043e \u00e9t\u00e9"},
        {L"\"C:\\Games\\\\\\\"Quoted\\\" Demo\"", L"C:\\Games\\\"Quoted\" Demo"},
        {L"\"C:\\Games\\X\\\\\"", L"C:\\Games\\X\\"},
    };
    for (const auto& [written, folder] : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(written));
        for (const wchar_t* operation : {L"--verify-integrity", L"--uninstall"}) {
            const StandInGameCenter gameCenter;
            EXPECT_EQ(TestSupport::RunClient(std::wstring(operation) + L" --target-game-folder " + written), 0u);
            const auto records = gameCenter.waitForRecords();
            ASSERT_EQ(records.size(), 1u);
            const auto argv = E2e::ArgvOf(records[0].commandLine);
            ASSERT_EQ(argv.size(), 6u) << TestSupport::WideToUtf8(records[0].commandLine);
            EXPECT_EQ(argv[0], gameCenter.executable());
            // Open-like operations carry the folder at 2 and 5, uninstall at 3 and 5.
            const bool uninstall = argv[1] == L"--uninstall";
            EXPECT_EQ(argv[uninstall ? 3 : 2], folder);
            EXPECT_EQ(argv[5], folder);
        }
    }
}

TEST(ClientCommandLines, DefaultGameFolderIsTheClientsOwnFolder)
{
    {
        const StandInGameCenter gameCenter;
        EXPECT_EQ(TestSupport::RunClient(L"--quiet"), 0u);
        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(E2e::ArgvOf(records[0].commandLine).at(2), TestSupport::BuildDir() + L"\\bin");
    }
    // A copy in a folder with blanks and Cyrillic letters; a folder switch without value falls back too.
    const std::wstring folder =
        TestSupport::ScratchDir() + L"\\Demo \u0418\u0433\u0440\u0430 " + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring copy = folder + L"\\tgc_client.exe";
    ASSERT_TRUE(CopyFileW(TestSupport::ClientExePath().c_str(), copy.c_str(), FALSE));
    {
        const StandInGameCenter gameCenter;
        EXPECT_EQ(TestSupport::RunClient(L"--update --target-game-folder", kClientTimeoutMs, copy), 0u);
        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        const auto argv = E2e::ArgvOf(records[0].commandLine);
        ASSERT_EQ(argv.size(), 6u);
        EXPECT_EQ(argv[2], folder);
        EXPECT_EQ(argv[3], L"--update");
    }
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(ClientCommandLines, ClientDoesNotWaitForTheGameCenterExceptToUninstall)
{
    {
        const StandInGameCenter gameCenter;
        const TestSupport::ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"15000");
        EXPECT_EQ(TestSupport::RunClient(L"--verify-integrity --target-game-folder C:\\Games\\Demo", 10000), 0u);
        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_TRUE(TestSupport::ProcessIsRunning(records[0].processId));
        TestSupport::TerminateProcessById(records[0].processId);
    }
    {
        const StandInGameCenter gameCenter;
        const TestSupport::ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"2000");
        const std::wstring client = TestSupport::ClientExePath();
        TestSupport::ChildOptions standardUser;
        standardUser.standardUser = true;
        const TestSupport::ChildProcess uninstall(
            client, L"\"" + client + L"\" --uninstall --target-game-folder C:\\Games\\Demo", standardUser);
        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_FALSE(uninstall.waitForExit(500)) << "uninstall must wait for the game center";
        ASSERT_TRUE(uninstall.waitForExit(kClientTimeoutMs));
        EXPECT_FALSE(TestSupport::ProcessIsRunning(records[0].processId));
        EXPECT_EQ(uninstall.exitCode(), 0u);
    }
}

// True once every write end of the pipe is closed, waiting at most timeoutMs.
bool OutputEnds(HANDLE readEnd, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        char chunk[256];
        DWORD available = 0, read = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
            return GetLastError() == ERROR_BROKEN_PIPE;
        if (available > 0 && !ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr))
            return GetLastError() == ERROR_BROKEN_PIPE;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(20);
    }
}

// A launcher that runs the client in its job and reads its output: the game center is started in
// that job even when the job forbids leaving it, and holds nothing of the client's, so the output
// ends with the client while the game center runs on.
TEST(ClientCommandLines, OrdinaryStartStaysInTheCallersJobAndTakesNoHandles)
{
    const std::pair<const wchar_t*, DWORD> cases[] = {
        {L"--quiet", 0},
        {L"--quiet --update", 0},
        {L"--quiet --verify-integrity", 0},
        {L"--quiet --cct beta", 0},
        {L"--quiet --install pkg-7", 0},
        {L"--quiet --update", JOB_OBJECT_LIMIT_BREAKAWAY_OK},  // leaving is allowed, but not asked for
    };
    const std::wstring client = TestSupport::ClientExePath();
    for (const auto& [arguments, breakaway] : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(arguments) + " job limits " + std::to_string(breakaway));
        const StandInGameCenter gameCenter;
        const TestSupport::ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"15000");
        const UniqueHandle job = TestSupport::NewJob(JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | breakaway);
        ASSERT_TRUE(job);
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        UniqueHandle readEnd, writeEnd;
        ASSERT_TRUE(CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0));
        ASSERT_TRUE(SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0));
        const TestSupport::ChildProcess launched(
            client, L"\"" + client + L"\" " + arguments + L" --target-game-folder C:\\Games\\Demo",
            {job.get(), writeEnd.get(), true});
        writeEnd.reset();
        ASSERT_TRUE(launched.waitForExit(kClientTimeoutMs));

        const auto records = gameCenter.waitForRecords();
        ASSERT_EQ(records.size(), 1u);
        const UniqueHandle started(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, records[0].processId));
        ASSERT_TRUE(started);
        BOOL inJob = FALSE;
        EXPECT_TRUE(IsProcessInJob(started.get(), job.get(), &inJob) && inJob);
        EXPECT_TRUE(OutputEnds(readEnd.get(), 3000)) << "the game center holds the client's output";
        EXPECT_EQ(WaitForSingleObject(started.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
        TestSupport::TerminateProcessById(records[0].processId);
    }
}

}  // namespace
