// Where the build's own programs are, as Windows paths seen from inside Wine.
#pragma once

#include <string>

namespace TestSupport {

// The build folder (Wine maps the host's / to drive Z:).
std::wstring BuildDir();

// build\bin\tgc_client.exe
std::wstring ClientExePath();

// A folder of the build for files a test writes (created on demand).
std::wstring ScratchDir();

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace TestSupport
