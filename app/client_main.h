// Everything the client's entry point does after securing the DLL search path.
#pragma once

namespace ZGC {

// Keeps the system's critical-error boxes away while preserving the other inherited error-mode bits.
void SuppressCriticalErrorBoxes();

// Reads the game folder and quiet mode from the command line and runs the one requested operation
// (or shows the requested notification). Returns the process exit code, which is always 0: callers
// learn nothing from it, and no failure, not even an exception, ends the process abnormally.
int RunClient(const wchar_t* commandLine) noexcept;

}  // namespace ZGC
