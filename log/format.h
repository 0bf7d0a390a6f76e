// Log message texts: "%n" / "%nn" placeholders replaced by arguments in the order of their numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Log {

// The smallest placeholder number takes the first argument, the next distinct number the second, and so on.
// Placeholders without an argument, and everything when there are no arguments, stay as written.
std::wstring formatMessage(std::wstring_view format, const std::vector<std::wstring>& args);

}  // namespace Log
