// Sets one registry string value for a scope and puts back what was there (or removes what was not).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace UiTest {

class ScopedRegistryValue {
public:
    // An empty `valueName` is the key's default value.
    ScopedRegistryValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName, const std::wstring& data);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    bool Applied() const { return m_applied; }

private:
    struct SavedValue {
        DWORD type;
        std::vector<BYTE> data;
    };

    HKEY m_root;
    std::wstring m_subkey;
    std::wstring m_valueName;
    std::optional<std::wstring> m_createdKey;  // the outermost key this object created
    std::optional<SavedValue> m_saved;
    bool m_applied = false;
};

}  // namespace UiTest
