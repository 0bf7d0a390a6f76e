// The application object of the window layer. Every notification is shown inside the lifetime of one
// of these; no framework window is ever created, so only its construction and destruction effects matter.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

namespace Win32xx {

// What the window map holds for a handle. Only the z-order placeholders (HWND_TOP, HWND_TOPMOST,
// HWND_NOTOPMOST, HWND_BOTTOM) are ever entered here, each as a static record.
struct WindowRecord {
    HWND hwnd;
};

class CWinApp {
public:
    // Throws CWinException when no TLS slot is left.
    CWinApp();
    virtual ~CWinApp();

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    DWORD GetTlsIndex() const { return m_tlsIndex; }
    HINSTANCE GetInstanceHandle() const { return m_instance; }
    HINSTANCE GetResourceHandle() const { return m_resource; }
    // Window procedure of the temporary class, as the system reported it back.
    WNDPROC GetCallback() const { return m_callback; }
    const WindowRecord* FindWindowRecord(HWND hwnd) const;

private:
    class Lock;
    struct ThreadData;

    void AllocateTlsSlot();
    void ReadTemporaryClassCallback();
    void MapSpecialHandles();

    std::unique_ptr<Lock> m_appLock;
    std::unique_ptr<Lock> m_windowMapLock;
    std::map<HWND, const WindowRecord*> m_windowMap;
    std::vector<std::unique_ptr<ThreadData>> m_threadData;
    DWORD m_tlsIndex = TLS_OUT_OF_INDEXES;
    HINSTANCE m_instance = nullptr;
    HINSTANCE m_resource = nullptr;
    WNDPROC m_callback = nullptr;
};

// The application object alive in this process, or null.
CWinApp* GetApp();

}  // namespace Win32xx
