// The exception of the window layer: a failed framework step with the system's word for it.
#pragma once

#include <windows.h>

#include <exception>

namespace Win32xx {

class CWinException : public std::exception {
public:
    // `text` names the failed step and must outlive the exception (a literal).
    explicit CWinException(const wchar_t* text) noexcept;

    // Writes the system text to the debugger output; the returned text is fixed.
    const char* what() const noexcept override;

    DWORD GetError() const noexcept { return m_error; }
    const wchar_t* GetText() const noexcept { return m_text; }
    const wchar_t* GetErrorString() const noexcept { return m_errorString; }

private:
    DWORD m_error;
    const wchar_t* m_text;
    wchar_t m_errorString[255];
};

}  // namespace Win32xx
