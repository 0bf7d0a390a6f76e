// The value the compiler's stack cookies (-fstack-protector-strong) are checked against, and what
// happens when one does not match. Defined here rather than taken from GCC's libssp, whose start-up
// code acquires a cryptographic provider: that loads DLLs by name before the client has restricted
// the DLL search, so a DLL planted in the game folder could be among them.
#pragma once

#include <cstdint>

namespace System::Win32 {

// The guard before start-up chooses the process's own; still the value after start-up would mean
// it was never chosen.
inline constexpr std::uintptr_t kStackGuardBeforeStartUp = static_cast<std::uintptr_t>(0x5C0FFEE7A4B19D3Bull);

// The process's guard value, chosen once before any of its own code runs.
std::uintptr_t StackGuard();

}  // namespace System::Win32
