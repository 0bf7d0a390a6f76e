#include "ui/text_buffer.h"

#include <cwchar>

namespace Ui {

TextBuffer CopyToTextBuffer(const wchar_t* text)
{
    if (text == nullptr)
        return nullptr;
    TextBuffer buffer = std::make_unique<wchar_t[]>(kTextBufferChars);
    // The last character stays NUL whatever the length of the text.
    std::wcsncpy(buffer.get(), text, kTextBufferChars - 1);
    return buffer;
}

}  // namespace Ui
