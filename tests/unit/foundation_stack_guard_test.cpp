// Stack cookies: the guard is chosen at start-up, and an overwritten cookie ends the process with the
// status Windows gives a stack buffer overrun, before the function returns into what was written.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "libraries/system/win32/stack_guard.h"

namespace {

// Writes `count` bytes into an eight-byte local array: past its end when count is larger. Through
// memset with a count the compiler cannot see, so that neither a warning nor the checked build's
// bounds traps stop it before the cookie is reached.
__attribute__((noinline)) std::size_t WriteIntoSmallBuffer(std::size_t count, char fill)
{
    char buffer[8];
    volatile std::size_t unseenCount = count;
    std::memset(buffer, fill, unseenCount);
    return static_cast<std::size_t>(*static_cast<volatile char*>(buffer));
}

TEST(StackGuard, IsChosenAtStartUp)
{
    EXPECT_NE(System::Win32::StackGuard(), System::Win32::kStackGuardBeforeStartUp);
    EXPECT_NE(System::Win32::StackGuard(), 0u);
}

TEST(StackGuard, AWriteInsideTheBufferReturns)
{
    EXPECT_EQ(WriteIntoSmallBuffer(8, 'x'), static_cast<std::size_t>('x'));
}

TEST(StackGuardDeathTest, AnOverrunEndsTheProcessAsAStackBufferOverrun)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(WriteIntoSmallBuffer(64, 'x'), ::testing::ExitedWithCode(static_cast<int>(STATUS_STACK_BUFFER_OVERRUN)),
                "");
}

}  // namespace
