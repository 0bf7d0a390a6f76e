#include "errors/system_message.h"

#include <windows.h>

#include <string_view>

#include "errors/utf8.h"
#include "libraries/system/win32/unique_resource.h"

namespace Err::details {

namespace {

// Error objects carry English texts whatever the user's language.
constexpr DWORD kEnglishUnitedStates = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

bool isSpace(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

}  // namespace

std::wstring systemMessageText(unsigned long code, unsigned long language)
{
    System::Win32::UniqueLocalMemory buffer;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                         nullptr, code, language, reinterpret_cast<LPWSTR>(buffer.put()), 0, nullptr);
    if (length == 0 || !buffer)
        return {};
    const std::wstring_view text(static_cast<const wchar_t*>(buffer.get()), length);
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    return std::wstring(text.substr(begin, end - begin));
}

std::string systemMessage(int code)
{
    const std::wstring text = systemMessageText(static_cast<DWORD>(code), kEnglishUnitedStates);
    return Text::IsWellFormedUtf16(text) ? Text::WideToUtf8(text) : "(invalid string)";
}

}  // namespace Err::details
