#include "scoped_registry_value.h"

#include "libraries/system/win32/unique_resource.h"

namespace UiTest {

namespace {

using System::Win32::UniqueRegKey;

bool KeyExists(HKEY root, const std::wstring& subkey)
{
    UniqueRegKey key;
    return ::RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// The outermost key on the way to `subkey` that does not exist yet.
std::optional<std::wstring> FirstMissingKey(HKEY root, const std::wstring& subkey)
{
    for (size_t end = subkey.find(L'\\');; end = subkey.find(L'\\', end + 1)) {
        const std::wstring prefix = subkey.substr(0, end);
        if (!KeyExists(root, prefix))
            return prefix;
        if (end == std::wstring::npos)
            return std::nullopt;
    }
}

}  // namespace

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName,
                                         const std::wstring& data)
    : m_root(root), m_subkey(subkey), m_valueName(valueName)
{
    m_createdKey = FirstMissingKey(root, subkey);
    UniqueRegKey key;
    if (::RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return;

    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        SavedValue saved{type, std::vector<BYTE>(size)};
        if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, saved.data.data(), &size) ==
            ERROR_SUCCESS) {
            saved.data.resize(size);
            m_saved = std::move(saved);
        }
    }
    m_applied = ::RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

ScopedRegistryValue::~ScopedRegistryValue()
{
    if (m_createdKey) {
        ::RegDeleteTreeW(m_root, m_createdKey->c_str());
        return;
    }
    UniqueRegKey key;
    if (::RegOpenKeyExW(m_root, m_subkey.c_str(), 0, KEY_WRITE, key.put()) != ERROR_SUCCESS)
        return;
    if (m_saved) {
        ::RegSetValueExW(key.get(), m_valueName.c_str(), 0, m_saved->type, m_saved->data.data(),
                         static_cast<DWORD>(m_saved->data.size()));
    } else {
        ::RegDeleteValueW(key.get(), m_valueName.c_str());
    }
}

}  // namespace UiTest
