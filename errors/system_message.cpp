#include "errors/system_message.h"

#include <windows.h>

#include <memory>
#include <string_view>

#include "errors/classic_space.h"
#include "errors/utf8.h"

namespace Err::details {

namespace {

// Error objects carry English texts whatever the user's language.
constexpr DWORD kEnglishUnitedStates = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The errors sit below the platform wrappers and their owners, so the one buffer here has its own.
struct LocalFreeDeleter {
    void operator()(wchar_t* text) const { ::LocalFree(text); }
};

}  // namespace

std::wstring systemMessageText(unsigned long code, unsigned long language)
{
    wchar_t* allocated = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                         nullptr, code, language, reinterpret_cast<LPWSTR>(&allocated), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> buffer(allocated);
    if (length == 0 || !buffer)
        return {};
    const std::wstring_view text(buffer.get(), length);
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && Text::IsClassicSpace(text[begin]))
        ++begin;
    while (end > begin && Text::IsClassicSpace(text[end - 1]))
        --end;
    return std::wstring(text.substr(begin, end - begin));
}

std::string systemMessage(int code)
{
    const std::wstring text = systemMessageText(static_cast<DWORD>(code), kEnglishUnitedStates);
    return Text::IsWellFormedUtf16(text) ? Text::WideToUtf8(text) : "(invalid string)";
}

}  // namespace Err::details
