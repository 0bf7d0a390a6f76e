// English system text of a Win32 error code, as UTF-8 without surrounding white space.
#pragma once

#include <string>

namespace Err::details {

// Empty when the system has no text for the code.
std::string systemMessage(int code);

// UTF-16 to UTF-8; "(invalid string)" when the text is not valid UTF-16.
std::string toUtf8(const std::wstring& text);

}  // namespace Err::details
