// Scope owners for the USER and GDI states the dialog code enters and must leave on every path.
#pragma once

#include <windows.h>

#include "libraries/system/win32/unique_resource.h"

namespace Ui {

struct WindowTraits {
    using Type = HWND;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::DestroyWindow(h); }
};
using UniqueWindow = System::Win32::UniqueResource<WindowTraits>;

// GetDC / ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_dc != nullptr)
            ::ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// SelectObject, and the previous object back at the end of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (m_previous != nullptr)
            ::SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : m_hwnd(hwnd), m_paint{}, m_dc(::BeginPaint(hwnd, &m_paint)) {}
    ~PaintScope() { ::EndPaint(m_hwnd, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint;
    HDC m_dc;
};

// LocalLock / LocalUnlock of a movable block.
class LockedLocalMemory {
public:
    explicit LockedLocalMemory(HLOCAL block) : m_block(block), m_data(block ? ::LocalLock(block) : nullptr) {}
    ~LockedLocalMemory()
    {
        if (m_data != nullptr)
            ::LocalUnlock(m_block);
    }
    LockedLocalMemory(const LockedLocalMemory&) = delete;
    LockedLocalMemory& operator=(const LockedLocalMemory&) = delete;
    void* data() const { return m_data; }

private:
    HLOCAL m_block;
    void* m_data;
};

// Keeps the owner of a modal dialog disabled; enables it again if it still exists.
class DisabledOwner {
public:
    explicit DisabledOwner(HWND owner) : m_owner(owner)
    {
        if (m_owner != nullptr)
            ::EnableWindow(m_owner, FALSE);
    }
    ~DisabledOwner()
    {
        if (m_owner != nullptr && ::IsWindow(m_owner))
            ::EnableWindow(m_owner, TRUE);
    }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

private:
    HWND m_owner;
};

}  // namespace Ui
