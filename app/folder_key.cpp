#include "app/folder_key.h"

#include <windows.h>

namespace ZGC {

namespace {

constexpr std::uint32_t kFnvOffsetBasis = 0x811C9DC5u;
constexpr std::uint32_t kFnvPrime = 0x01000193u;

std::uint32_t Fnv1aOfUtf16Le(std::wstring_view text)
{
    std::uint32_t hash = kFnvOffsetBasis;
    for (const wchar_t unit : text) {
        const auto value = static_cast<std::uint16_t>(unit);
        for (const std::uint8_t byte :
             {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)}) {
            hash ^= byte;
            hash *= kFnvPrime;
        }
    }
    return hash;
}

}  // namespace

wchar_t UpperCaseUnitForKey(wchar_t unit)
{
    // Letters between 128 and 255 (é, ü...) deliberately stay as they are: the game center hashes them
    // unchanged too, and a different mapping would give a different event name.
    if (unit < 256)
        return (unit >= L'a' && unit <= L'z') ? static_cast<wchar_t>(unit - L'a' + L'A') : unit;
    if (unit == 0xFFFF)
        return unit;
    wchar_t mapped = unit;
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, &unit, 1, &mapped, 1) != 1)
        return unit;
    return mapped;
}

std::uint32_t ComputeFolderKey(std::wstring_view gameFolder)
{
    if (gameFolder.empty())
        return 0;
    std::wstring normalised;
    normalised.reserve(gameFolder.size());
    for (const wchar_t unit : gameFolder)
        normalised.push_back(UpperCaseUnitForKey(unit));
    if (normalised.back() == L'\\' || normalised.back() == L'/')
        normalised.pop_back();
    for (wchar_t& unit : normalised) {
        if (unit == L'\\')
            unit = L'/';
    }
    if (normalised.empty())
        return 0;
    return Fnv1aOfUtf16Le(normalised);
}

std::wstring UninstallEventName(std::uint32_t folderKey)
{
    return std::to_wstring(folderKey) + L"tgc_uninstall_mtx";
}

}  // namespace ZGC
