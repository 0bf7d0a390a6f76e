#include "support/import_patch.h"

#include <cstring>

namespace TestSupport {

namespace {

template <class T>
T* At(BYTE* base, DWORD offset)
{
    return reinterpret_cast<T*>(base + offset);
}

void Store(void** slot, void* value)
{
    DWORD previous = 0;
    ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = value;
    ::VirtualProtect(slot, sizeof *slot, previous, &previous);
}

// The import address table slot of `function` from `dll` in this program's image.
void** FindSlot(const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* nt =
        At<IMAGE_NT_HEADERS>(base, static_cast<DWORD>(reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); module->Name != 0; ++module) {
        if (::lstrcmpiA(At<char>(base, module->Name), dll) != 0)
            continue;
        auto* names = At<IMAGE_THUNK_DATA>(base, module->OriginalFirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA>(base, module->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = At<IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

}  // namespace

ScopedImportPatch::ScopedImportPatch(const char* dll, const char* function, void* replacement)
    : m_slot(FindSlot(dll, function))
{
    if (m_slot != nullptr) {
        m_original = *m_slot;
        Store(m_slot, replacement);
    }
}

ScopedImportPatch::~ScopedImportPatch()
{
    if (m_slot != nullptr)
        Store(m_slot, m_original);
}

}  // namespace TestSupport
