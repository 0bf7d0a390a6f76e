// Scope owners for Win32 handles: each closes its handle exactly once, on every path out, and leaves
// the thread's last error as it found it, so a failure can still be read after an owner has gone.
#pragma once

#include <windows.h>

#include <utility>

namespace System::Win32 {

// Traits: `using Type`, `static Type invalid()`, `static void close(Type)`.
template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Type get() const { return value_; }
    bool valid() const { return value_ != Traits::invalid(); }
    explicit operator bool() const { return valid(); }

    // For APIs that return the handle through an out parameter; closes what was held.
    Type* put()
    {
        reset();
        return &value_;
    }

    // The caller takes over the handle; dropping the result would leak it.
    [[nodiscard]] Type release() { return std::exchange(value_, Traits::invalid()); }

    void reset(Type value = Traits::invalid())
    {
        const Type old = std::exchange(value_, value);
        if (old != Traits::invalid()) {
            const DWORD lastError = ::GetLastError();
            Traits::close(old);
            ::SetLastError(lastError);
        }
    }

private:
    Type value_ = Traits::invalid();
};

struct KernelHandleTraits {  // processes, threads, events, jobs: null means none
    using Type = HANDLE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::CloseHandle(h); }
};

struct FileHandleTraits {  // CreateFileW: INVALID_HANDLE_VALUE means none
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { ::CloseHandle(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::RegCloseKey(h); }
};

struct LibraryTraits {
    using Type = HMODULE;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::FreeLibrary(h); }
};

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::LocalFree(h); }
};

struct GdiObjectTraits {  // fonts, brushes, bitmaps
    using Type = HGDIOBJ;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::DeleteObject(h); }
};

struct DeviceContextTraits {  // CreateDCW / CreateCompatibleDC
    using Type = HDC;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::DeleteDC(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type invalid() { return nullptr; }
    static void close(Type h) { ::DestroyIcon(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueRegKey = UniqueResource<RegKeyTraits>;
using UniqueLibrary = UniqueResource<LibraryTraits>;
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueDeviceContext = UniqueResource<DeviceContextTraits>;
using UniqueIcon = UniqueResource<IconTraits>;

// GetProcAddress result as a typed function pointer (through a generic one, which GCC accepts quietly).
template <class Function>
Function GetProc(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace System::Win32
