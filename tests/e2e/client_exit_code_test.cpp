// Whatever goes wrong, the client ends with exit code 0 and, in quiet mode, starts and shows nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include "stand_in_game_center.h"
#include "support/test_paths.h"

namespace {

using E2e::StandInGameCenter;
using E2e::StartLog;

const wchar_t* const kQuietOperations[] = {
    L"--quiet",
    L"--quiet --update",
    L"--quiet --verify-integrity",
    L"--quiet --uninstall",
    L"--quiet --cct beta",
    L"--quiet --install pkg",
};

TEST(ClientExitCode, QuietClientWithoutUsableGameCenterEndsWithZeroAndStartsNothing)
{
    for (const wchar_t* operation : kQuietOperations) {
        SCOPED_TRACE(TestSupport::WideToUtf8(operation));
        {
            const TestSupport::ScopedNoGameCenter missing;
            const StartLog log;
            EXPECT_EQ(TestSupport::RunClient(operation), 0u);
            EXPECT_TRUE(log.nothingStarted(300));
        }
        for (const wchar_t* variant : {L"26.0.2.1045", L"noversion", L"not_a_program"}) {
            const StandInGameCenter outdated(variant);
            EXPECT_EQ(TestSupport::RunClient(operation), 0u);
            EXPECT_TRUE(outdated.nothingStarted(300));
        }
    }
}

TEST(ClientExitCode, NotificationWithoutEntryShowsNothingAndStartsNothing)
{
    for (const wchar_t* arguments : {L"--propose-zgc-install 104 --update", L"--propose-zgc-install none",
                                     L"--propose-zgc-install -110", L"--propose-zgc-install 0x6E"}) {
        SCOPED_TRACE(TestSupport::WideToUtf8(arguments));
        const StandInGameCenter gameCenter;
        EXPECT_EQ(TestSupport::RunClient(arguments, 10000), 0u);
        EXPECT_TRUE(gameCenter.nothingStarted(300));
    }
}

TEST(ClientExitCode, UnresolvableProgramDataEndsWithZeroShowingAndStartingNothing)
{
    const StandInGameCenter gameCenter;  // installed, but the client cannot find where to look
    const E2e::ScopedUnresolvableProgramData broken;
    for (const wchar_t* arguments : {L"--update", L"--uninstall", L"--quiet --verify-integrity", L""}) {
        SCOPED_TRACE(TestSupport::WideToUtf8(arguments));
        EXPECT_EQ(TestSupport::RunClient(arguments, 10000), 0u);
    }
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

}  // namespace
