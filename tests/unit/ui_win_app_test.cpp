// The window layer's application object and exception.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/import_patch.h"
#include "ui/framework/win_app.h"
#include "ui/framework/win_exception.h"

namespace {

using Win32xx::CWinApp;
using Win32xx::CWinException;

constexpr wchar_t kTemporaryClass[] = L"Win32++ Temporary Window Class";

// Holds every TLS slot the process has left, and gives them back.
class ExhaustedTls {
public:
    ExhaustedTls()
    {
        for (DWORD index = ::TlsAlloc(); index != TLS_OUT_OF_INDEXES; index = ::TlsAlloc())
            m_slots.push_back(index);
    }
    ~ExhaustedTls()
    {
        for (const DWORD index : m_slots)
            ::TlsFree(index);
    }
    ExhaustedTls(const ExhaustedTls&) = delete;
    ExhaustedTls& operator=(const ExhaustedTls&) = delete;

private:
    std::vector<DWORD> m_slots;
};

TEST(CWinApp, NamesItselfTheCurrentApplicationWhileItLives)
{
    ASSERT_EQ(Win32xx::GetApp(), nullptr);
    {
        CWinApp app;
        EXPECT_EQ(Win32xx::GetApp(), &app);
        {
            CWinApp second;  // one is already current: it stays so, also after the second goes
            EXPECT_EQ(Win32xx::GetApp(), &app);
        }
        EXPECT_EQ(Win32xx::GetApp(), &app);
    }
    EXPECT_EQ(Win32xx::GetApp(), nullptr);
}

TEST(CWinApp, TakesATlsSlotAndGivesItBack)
{
    DWORD index = TLS_OUT_OF_INDEXES;
    {
        CWinApp app;
        index = app.GetTlsIndex();
        ASSERT_NE(index, TLS_OUT_OF_INDEXES);
        EXPECT_TRUE(::TlsSetValue(index, &app));
        EXPECT_EQ(::TlsGetValue(index), &app);
    }
    // The freed slot is the first one handed out again.
    const DWORD again = ::TlsAlloc();
    EXPECT_EQ(again, index);
    EXPECT_EQ(::TlsGetValue(again), nullptr) << "the slot was cleared before it was freed";
    ::TlsFree(again);
}

TEST(CWinApp, KnowsTheProgramImageAndTheTemporaryClassWindowProcedureButLeavesNoClass)
{
    CWinApp app;
    EXPECT_EQ(app.GetInstanceHandle(), ::GetModuleHandleW(nullptr));
    EXPECT_EQ(app.GetResourceHandle(), ::GetModuleHandleW(nullptr));
    EXPECT_NE(app.GetCallback(), nullptr);
    WNDCLASSW info{};
    EXPECT_FALSE(::GetClassInfoW(app.GetInstanceHandle(), kTemporaryClass, &info));
}

TEST(CWinApp, MapsTheFourZOrderPlaceholders)
{
    CWinApp app;
    for (const HWND special : {HWND_TOP, HWND_TOPMOST, HWND_NOTOPMOST, HWND_BOTTOM}) {
        const Win32xx::WindowRecord* record = app.FindWindowRecord(special);
        ASSERT_NE(record, nullptr) << reinterpret_cast<INT_PTR>(special);
        EXPECT_EQ(record->hwnd, special);
    }
    EXPECT_EQ(app.FindWindowRecord(reinterpret_cast<HWND>(2)), nullptr);
}

TEST(CWinApp, WithoutATlsSlotThrowsAndIsNotCurrent)
{
    ExhaustedTls exhausted;
    try {
        CWinApp app;
        FAIL() << "constructed without a TLS slot";
    } catch (const CWinException& e) {
        EXPECT_STREQ(e.what(), "CWinException thrown");
        EXPECT_EQ(std::wstring(e.GetText()), L"CWinApp::CWinApp  Failed to allocate TLS Index");
    }
    EXPECT_EQ(Win32xx::GetApp(), nullptr);
}

TEST(CWinException, KeepsTheLastErrorOfItsConstructionAndTheSystemText)
{
    const DWORD errors[] = {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, 0};
    for (const DWORD error : errors) {
        ::SetLastError(error);
        const CWinException e(L"step");
        EXPECT_EQ(e.GetError(), error);
        EXPECT_EQ(std::wstring(e.GetText()), L"step");
        wchar_t expected[255] = {};
        if (error != 0)
            ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0x0400,
                             expected, 255, nullptr);
        EXPECT_EQ(std::wstring(e.GetErrorString()), std::wstring(expected)) << error;
        EXPECT_EQ(std::wstring(e.GetErrorString()).empty(), error == 0) << error;
        EXPECT_STREQ(e.what(), "CWinException thrown");
    }
}

// A system text of the length a test asks for. Like FormatMessageW, the size counts the NUL and a
// text that does not fit fails; this one fills the buffer with something else first, the worst a
// system could do.
std::size_t g_systemTextLength = 0;

DWORD WINAPI SystemTextOfLength(DWORD, LPCVOID, DWORD, DWORD, LPWSTR buffer, DWORD size, va_list*)
{
    if (g_systemTextLength >= size) {
        std::fill_n(buffer, size, L'?');
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::fill_n(buffer, g_systemTextLength, L'x');
    buffer[g_systemTextLength] = L'\0';
    return static_cast<DWORD>(g_systemTextLength);
}

TEST(CWinException, KeepsASystemTextOfUpTo254Characters)
{
    const TestSupport::ScopedImportPatch patch("KERNEL32.dll", "FormatMessageW",
                                               reinterpret_cast<void*>(&SystemTextOfLength));
    ASSERT_TRUE(patch.Applied());
    for (const std::size_t length : {1u, 254u, 255u, 1000u}) {
        g_systemTextLength = length;
        ::SetLastError(ERROR_ACCESS_DENIED);
        const std::wstring kept = CWinException(L"step").GetErrorString();
        if (length <= 254)
            EXPECT_EQ(kept, std::wstring(length, L'x')) << length;
        else
            EXPECT_LE(kept.size(), 254u) << length;
    }
}

}  // namespace
