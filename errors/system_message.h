// English system text of a Win32 error code, as UTF-8 without surrounding white space.
#pragma once

#include <string>

namespace Err::details {

// The system's text for a Win32 code in `language` (0: the system's default), without surrounding
// classic white space (which takes the line break that ends system texts); empty when there is none.
std::wstring systemMessageText(unsigned long code, unsigned long language);

// systemMessageText in English (United States), as UTF-8 ("(invalid string)" when the system's text is
// no valid UTF-16). Empty when the system has no text for the code.
std::string systemMessage(int code);

}  // namespace Err::details
