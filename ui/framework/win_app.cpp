#include "ui/framework/win_app.h"

#include <atomic>

#include "ui/framework/win_exception.h"

namespace Win32xx {

namespace {

std::atomic<CWinApp*> g_currentApp{nullptr};

constexpr wchar_t kTemporaryClassName[] = L"Win32++ Temporary Window Class";

// The placeholders SetWindowPos accepts instead of a window.
const WindowRecord kTop{HWND_TOP};
const WindowRecord kTopmost{HWND_TOPMOST};
const WindowRecord kNoTopmost{HWND_NOTOPMOST};
const WindowRecord kBottom{HWND_BOTTOM};

LRESULT CALLBACK FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

CWinApp* GetApp()
{
    return g_currentApp.load();
}

CWinApp::TlsSlot::~TlsSlot()
{
    if (m_index != TLS_OUT_OF_INDEXES) {
        ::TlsSetValue(m_index, nullptr);
        ::TlsFree(m_index);
    }
}

bool CWinApp::TlsSlot::Allocate()
{
    m_index = ::TlsAlloc();
    return m_index != TLS_OUT_OF_INDEXES;
}

CWinApp::CurrentAppRegistration::~CurrentAppRegistration()
{
    // Only clear the pointer when it names us: another object may have been the current one all along.
    if (m_app != nullptr) {
        CWinApp* expected = m_app;
        g_currentApp.compare_exchange_strong(expected, nullptr);
    }
}

void CWinApp::CurrentAppRegistration::Register(CWinApp* app)
{
    CWinApp* expected = nullptr;
    if (g_currentApp.compare_exchange_strong(expected, app))
        m_app = app;
}

CWinApp::CWinApp()
{
    try {
        AllocateTlsSlot();
        FindInstance();
        ReadTemporaryClassCallback();
        MapSpecialHandles();
    } catch (const CWinException& e) {
        e.what();  // the system text goes to the debugger output
        throw;
    }
}

CWinApp::~CWinApp()
{
    m_threadData.clear();
    DestroyMappedWindows();
    m_windowMap.clear();
    // The TLS slot, the current-application pointer and the locks are released by their members.
}

const WindowRecord* CWinApp::FindWindowRecord(HWND hwnd)
{
    CriticalSectionGuard guard(m_windowMapLock);
    const auto found = m_windowMap.find(hwnd);
    return found == m_windowMap.end() ? nullptr : found->second;
}

void CWinApp::AllocateTlsSlot()
{
    CriticalSectionGuard guard(m_appLock);
    if (!m_tls.Allocate())
        throw CWinException(L"CWinApp::CWinApp  Failed to allocate TLS Index");
    m_registration.Register(this);
}

void CWinApp::FindInstance()
{
    // The image that holds this code is the program itself (the layer is linked statically).
    MEMORY_BASIC_INFORMATION info{};
    ::VirtualQuery(reinterpret_cast<const void*>(&FrameworkWindowProc), &info, sizeof(info));
    m_instance = static_cast<HINSTANCE>(info.AllocationBase);
    m_resource = m_instance;
}

void CWinApp::ReadTemporaryClassCallback()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = m_instance;
    windowClass.lpszClassName = kTemporaryClassName;
    ::RegisterClassW(&windowClass);

    WNDCLASSW registered{};
    if (::GetClassInfoW(m_instance, kTemporaryClassName, &registered))
        m_callback = registered.lpfnWndProc;
    ::UnregisterClassW(kTemporaryClassName, m_instance);
}

void CWinApp::MapSpecialHandles()
{
    CriticalSectionGuard guard(m_windowMapLock);
    for (const WindowRecord* record : {&kTop, &kTopmost, &kNoTopmost, &kBottom})
        m_windowMap.emplace(record->hwnd, record);
}

void CWinApp::DestroyMappedWindows()
{
    CriticalSectionGuard guard(m_windowMapLock);
    for (const auto& [hwnd, record] : m_windowMap) {
        if (::IsWindow(hwnd))
            ::DestroyWindow(hwnd);
    }
}

}  // namespace Win32xx
