// The one conversion between the program's UTF-16 texts and UTF-8, for the product and its tests.
#pragma once

#include <string>
#include <string_view>

namespace Text {

// UTF-16 to UTF-8; a unit that is no character (an unpaired surrogate) becomes U+FFFD.
std::string WideToUtf8(std::wstring_view text);

// UTF-8 to UTF-16; bytes that are no UTF-8 become U+FFFD.
std::wstring Utf8ToWide(std::string_view text);

// False when the text holds an unpaired surrogate, that is, when WideToUtf8 would have to replace something.
bool IsWellFormedUtf16(std::wstring_view text);

}  // namespace Text
