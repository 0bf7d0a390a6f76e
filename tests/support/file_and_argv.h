// Small readers the tests share: a whole file's bytes, and a command line as a started program's
// own parser (CommandLineToArgvW) splits it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

// The file's bytes, read while others may be writing it (all sharing allowed; retried while another
// handle holds it alone). Nothing when the file does not exist or cannot be opened.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

std::vector<std::wstring> ArgvOf(const std::wstring& commandLine);

}  // namespace TestSupport
