// Replaces one imported system function for the calls this test program makes, for a scope: how a
// test gives the code an answer that Wine cannot give (job limits, a very long system text).
#pragma once

#include <windows.h>

namespace TestSupport {

class ScopedImportPatch {
public:
    // `function` as this program imports it by name from `dll` (e.g. "KERNEL32.dll").
    ScopedImportPatch(const char* dll, const char* function, void* replacement);
    ~ScopedImportPatch();
    ScopedImportPatch(const ScopedImportPatch&) = delete;
    ScopedImportPatch& operator=(const ScopedImportPatch&) = delete;

    bool Applied() const { return m_slot != nullptr; }
    // What the slot held before: the system's own function.
    template <class Function>
    Function Original() const
    {
        return reinterpret_cast<Function>(m_original);
    }

private:
    void** m_slot = nullptr;
    void* m_original = nullptr;
};

}  // namespace TestSupport
