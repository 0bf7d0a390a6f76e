// The fixed text buffers of a shown dialog: any text up to 65,535 characters fits without reallocation.
#pragma once

#include <cstddef>
#include <memory>

namespace Ui {

constexpr std::size_t kTextBufferChars = 65536;

using TextBuffer = std::unique_ptr<wchar_t[]>;

// A zero-filled buffer holding at most 65,535 characters of `text`; null when there is no text.
TextBuffer CopyToTextBuffer(const wchar_t* text);

}  // namespace Ui
