#include <array>

#include "discovery/locate_game_center.h"
#include "libraries/system/win32/unique_resource.h"
#include "log/log_line.h"

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

std::vector<std::wstring> ReadUninstallEntryValues(bool currentUser)
{
    // With administrator rights only the machine's entry counts: the user's own unelevated programs can
    // write his.
    std::vector<HKEY> hives;
    if (currentUser)
        hives.push_back(HKEY_CURRENT_USER);
    hives.push_back(HKEY_LOCAL_MACHINE);
    std::vector<std::wstring> values;
    for (HKEY hive : hives) {
        const System::Win32::UniqueRegKey key = OpenEntry(hive);
        std::wstring value;
        const LSTATUS status = ReadRegistryString(key.get(), L"DisplayIcon", value, L"");
        const wchar_t* hiveName = hive == HKEY_CURRENT_USER ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
        if (!key) {
            Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Uninstall entry %1 (32-bit view): none", {hiveName});
        } else if (status == ERROR_SUCCESS) {
            Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Uninstall entry %1 (32-bit view) DisplayIcon: %2",
                      {hiveName, value});
            values.push_back(std::move(value));
        } else {
            Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Uninstall entry %1 (32-bit view): no value (error %2)",
                      {hiveName, std::to_wstring(status)});
        }
    }
    return values;
}

}  // namespace Discovery
