// The application object of the window layer. Every notification is shown inside the lifetime of one
// of these; no framework window is ever created, so only its construction and destruction effects matter.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "ui/framework/critical_section.h"

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

    DWORD GetTlsIndex() const { return m_tls.Index(); }
    HINSTANCE GetInstanceHandle() const { return m_instance; }
    HINSTANCE GetResourceHandle() const { return m_resource; }
    // Window procedure of the temporary class, as the system reported it back.
    WNDPROC GetCallback() const { return m_callback; }
    const WindowRecord* FindWindowRecord(HWND hwnd);

private:
    // The TLS slot for per-thread data, freed with the object.
    class TlsSlot {
    public:
        TlsSlot() = default;
        ~TlsSlot();
        TlsSlot(const TlsSlot&) = delete;
        TlsSlot& operator=(const TlsSlot&) = delete;
        bool Allocate();
        DWORD Index() const { return m_index; }

    private:
        DWORD m_index = TLS_OUT_OF_INDEXES;
    };

    // Names this object as the process's application while it lives, unless another one already is.
    class CurrentAppRegistration {
    public:
        CurrentAppRegistration() = default;
        ~CurrentAppRegistration();
        CurrentAppRegistration(const CurrentAppRegistration&) = delete;
        CurrentAppRegistration& operator=(const CurrentAppRegistration&) = delete;
        void Register(CWinApp* app);

    private:
        CWinApp* m_app = nullptr;
    };

    struct ThreadData {};

    void AllocateTlsSlot();
    void FindInstance();
    void ReadTemporaryClassCallback();
    void MapSpecialHandles();
    void DestroyMappedWindows();

    // Declaration order is release order reversed: thread data first, the locks last.
    CriticalSection m_appLock;
    CriticalSection m_windowMapLock;
    CurrentAppRegistration m_registration;
    TlsSlot m_tls;
    std::map<HWND, const WindowRecord*> m_windowMap;
    std::vector<std::unique_ptr<ThreadData>> m_threadData;
    HINSTANCE m_instance = nullptr;
    HINSTANCE m_resource = nullptr;
    WNDPROC m_callback = nullptr;
};

// The application object alive in this process, or null.
CWinApp* GetApp();

}  // namespace Win32xx
