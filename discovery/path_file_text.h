// Decoding of the path file's bytes into the folder text it names.
#pragma once

#include <string>
#include <string_view>

namespace Discovery {

// Read as a text-mode file gives it (CR LF becomes LF, a 0x1A byte ends it), decoded as UTF-8 up to the
// first invalid sequence. A leading byte-order mark and trailing line breaks are not part of the folder.
std::wstring DecodePathFileText(std::string_view bytes);

}  // namespace Discovery
