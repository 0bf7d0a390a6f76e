// Stack cookies: the guard value, chosen at start-up as Windows compilers choose theirs, and the end
// of a process whose cookie was overwritten.
#include "libraries/system/win32/stack_guard.h"

#include <windows.h>

// The names the compiler's checks refer to.
extern "C" {
std::uintptr_t __stack_chk_guard = System::Win32::kStackGuardBeforeStartUp;
[[noreturn]] void __stack_chk_fail();
}

namespace {

// Time, ids, counters and a stack address (moved by ASLR) differ from one start to the next: not a
// secret from a local observer, but nothing an attacker sending input to a fresh process can know.
// Uses only kernel32 functions, so no DLL is loaded for it. It runs from the start-up code, before
// any function of ours that checks the guard is on the stack, so none sees the value change.
__attribute__((constructor(101), no_stack_protector)) void ChooseStackGuard()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    std::uint64_t value = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) ^
                          static_cast<std::uint64_t>(counter.QuadPart) ^
                          (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32) ^ ::GetCurrentThreadId() ^
                          (::GetTickCount64() << 16) ^ reinterpret_cast<std::uintptr_t>(&now);
    // On 32-bit Windows both halves count.
    value ^= value >> 32;
    auto guard = static_cast<std::uintptr_t>(value);
    if (guard == 0 || guard == System::Win32::kStackGuardBeforeStartUp)
        guard = ~System::Win32::kStackGuardBeforeStartUp;
    __stack_chk_guard = guard;
}

}  // namespace

// A smashed stack: nothing of the process can be trusted any more, not even its handlers, so it
// ends at once, with the status Windows uses for it.
extern "C" __attribute__((no_stack_protector)) void __stack_chk_fail()
{
    ::TerminateProcess(::GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_trap();
}

namespace System::Win32 {

std::uintptr_t StackGuard()
{
    return __stack_chk_guard;
}

}  // namespace System::Win32
