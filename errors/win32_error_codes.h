// Win32 error codes the client needs by name where mingw-w64's headers give none.
#pragma once

#include <windows.h>

// ERROR_ELEVATION_REQUIRED: the answer to a start of a program whose manifest demands elevation.
inline constexpr DWORD kErrorElevationRequired = 740;
