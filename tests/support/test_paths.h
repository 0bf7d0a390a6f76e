// Where the build's own programs are, as Windows paths seen from inside Wine.
#pragma once

#include <string>

#include "errors/utf8.h"

namespace TestSupport {

// The build folder (Wine maps the host's / to drive Z:).
std::wstring BuildDir();

// build\bin\tgc_client.exe
std::wstring ClientExePath();

// Whether 32-bit programs run on this machine, as scripts/test found before the run
// (TGC_HOST_32BIT=no where they cannot; a run without the variable assumes they do).
bool HostRuns32BitPrograms();

// A folder of the build for files a test writes (created on demand).
std::wstring ScratchDir();

using Text::Utf8ToWide;
using Text::WideToUtf8;

}  // namespace TestSupport
