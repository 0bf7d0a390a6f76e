#include "ui/framework/win_exception.h"

namespace Win32xx {

namespace {

// Room for the system text: up to 254 characters and the terminating NUL.
constexpr DWORD kSystemTextChars = 254;

}  // namespace

CWinException::CWinException(const wchar_t* text) noexcept : m_error(::GetLastError()), m_text(text), m_errorString{}
{
    if (m_error != 0) {
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, m_error,
                         MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), m_errorString, kSystemTextChars + 1,
                         nullptr);  // the size counts the NUL
        m_errorString[kSystemTextChars] = L'\0';
    }
}

const char* CWinException::what() const noexcept
{
    ::OutputDebugStringW(m_errorString);
    return "CWinException thrown";
}

}  // namespace Win32xx
