#include <array>

#include "discovery/existing_file.h"
#include "discovery/locate_game_center.h"
#include "libraries/system/win32/unique_resource.h"

namespace Discovery {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kEntryName[] = L"Tarvo Game Center";

System::Win32::UniqueRegKey OpenEntry(HKEY hive)
{
    // The game center is a 32-bit program: its entry lives in the 32-bit view on every system.
    const std::wstring path = std::wstring(kUninstallKey) + kEntryName;
    System::Win32::UniqueRegKey key;
    if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, key.put()) != ERROR_SUCCESS)
        static_cast<void>(key.release());  // nothing was opened; never close what the call may have left there
    return key;
}

}  // namespace

LSTATUS ReadRegistryString(HKEY key, const std::wstring& valueName, std::wstring& text, const std::wstring& defaultText)
{
    constexpr DWORD kMaxBytes = 1024;
    std::array<wchar_t, kMaxBytes> buffer{};  // zero-filled, so a value stored without NUL still ends
    DWORD size = kMaxBytes;
    const LSTATUS status =
        key ? RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size)
            : ERROR_INVALID_HANDLE;
    if (status != ERROR_SUCCESS) {
        text = defaultText;
        return status;
    }
    const std::wstring_view stored(buffer.data(), size / sizeof(wchar_t));
    text = std::wstring(stored.substr(0, stored.find(L'\0')));
    return ERROR_SUCCESS;
}

std::wstring ReadUninstallEntry(PlantingGuard* guard)
{
    const System::Win32::UniqueRegKey machine = OpenEntry(HKEY_LOCAL_MACHINE);
    const System::Win32::UniqueRegKey user = OpenEntry(HKEY_CURRENT_USER);

    // The current user's entry wins over the machine-wide one. Without a guard the first value read
    // decides; with one, a value it does not trust is passed over.
    for (HKEY key : {user.get(), machine.get()}) {
        std::wstring value;
        if (ReadRegistryString(key, L"DisplayIcon", value, L"") != ERROR_SUCCESS)
            continue;

        // "path,index": drop the icon index. Quotes and environment variables are left as they are.
        const size_t comma = value.rfind(L',');
        if (comma != std::wstring::npos)
            value.erase(comma);

        const bool usable = IsExistingFile(value) && (!guard || guard->trustsGameCenter(value));
        if (usable || !guard)
            return usable ? value : std::wstring();
    }
    return {};
}

}  // namespace Discovery
