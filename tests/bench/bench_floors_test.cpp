// The same-work floor of the benchmark makes the client's lookups for real: it starts the game
// center the client would start, where the client would, and refuses the ones the client refuses.
#include <gtest/gtest.h>

#include "stand_in_game_center.h"
#include "support/scoped_writable.h"
#include "support/test_paths.h"

namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr wchar_t kArguments[] = L"--target-game-folder C:\\Games\\Bench --update";

std::optional<DWORD> RunSameWorkFloor()
{
    const std::wstring floor = TestSupport::BuildDir() + L"\\bin\\same_work_launcher.exe";
    return TestSupport::RunClient(kArguments, kTimeoutMs, floor);
}

TEST(BenchFloors, SameWorkFloorStartsOnlyAGameCenterTheClientAccepts)
{
    const struct {
        const wchar_t* variant;
        DWORD exitCode;  // 0 started, 2 refused for its version
    } cases[] = {
        {L"26.0.2.1046", 0}, {L"27.0.0.0", 0},  {L"0.0.0.1", 0},       {L"26.0.2.1045", 2},
        {L"0.0.0.2", 2},     {L"noversion", 2}, {L"product_newer", 2},  // only the file version counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(c.variant));
        const E2e::StandInGameCenter gameCenter(c.variant);
        EXPECT_EQ(RunSameWorkFloor(), c.exitCode);
        const auto records = gameCenter.waitForRecords(1, c.exitCode == 0 ? 10000 : 0);
        ASSERT_EQ(records.size(), c.exitCode == 0 ? 1u : 0u);
        if (c.exitCode == 0) {
            EXPECT_EQ(records[0].commandLine, L"\"" + gameCenter.executable() + L"\" " + kArguments);
            EXPECT_EQ(records[0].currentDirectory, gameCenter.folder());
        }
    }
    const TestSupport::ScopedNoGameCenter none;
    const E2e::StartLog log;
    EXPECT_EQ(RunSameWorkFloor(), 1u);
    EXPECT_TRUE(log.nothingStarted(0));
}

// It reads and judges the descriptors the client reads: what anyone may change is passed over.
TEST(BenchFloors, SameWorkFloorRefusesWhatOthersCouldChange)
{
    const E2e::StandInGameCenter gameCenter(L"26.0.2.1046");
    const struct {
        std::wstring writable;
        DWORD exitCode;  // 1 the path file, 4 the game center refused
    } cases[] = {
        {TestSupport::PathFilePath(), 1},
        {gameCenter.executable(), 4},
        {gameCenter.folder(), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(c.writable));
        const TestSupport::ScopedWritableByEveryone writable(c.writable);
        EXPECT_EQ(RunSameWorkFloor(), c.exitCode);
    }
    EXPECT_TRUE(gameCenter.nothingStarted());
}

}  // namespace
