#include "installation_model.h"

#include <algorithm>
#include <array>
#include <cwctype>

#include "support/game_center_record.h"
#include "support/test_paths.h"

namespace Robustness {

namespace {

struct Variant {
    const wchar_t* name;
    bool usable;  // not older than the client, or the one accepted old version
};

const std::array<Variant, 7> kVariants = {{
    {L"26.0.2.1046", true},
    {L"26.0.3.0", true},
    {L"27.0.0.0", true},
    {L"0.0.0.1", true},
    {L"26.0.2.1045", false},
    {L"0.0.0.2", false},
    {L"noversion", false},
}};

std::uint64_t Pick(std::mt19937_64& random, std::uint64_t count)
{
    return random() % count;
}

const Variant& PickVariant(std::mt19937_64& random)
{
    return kVariants[Pick(random, kVariants.size())];
}

std::vector<BYTE> RegSz(const std::wstring& text)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {bytes, bytes + (text.size() + 1) * sizeof(wchar_t)};
}

std::string RandomBytes(std::mt19937_64& random, size_t length)
{
    std::string bytes;
    for (size_t i = 0; i < length; ++i)
        bytes += static_cast<char>(Pick(random, 256));
    return bytes;
}

// The path file naming the folder of a variant, written the way some installer might.
Installation PathFileToVariant(std::mt19937_64& random)
{
    const Variant& variant = PickVariant(random);
    std::wstring folder = TestSupport::FixtureGameCenterFolder(variant.name);
    Installation installation;
    installation.hasPathFile = true;
    installation.usable = variant.usable;
    std::string prefix, suffix;
    switch (Pick(random, 9)) {
        case 0:
            installation.description = L"path file";
            break;
        case 1:
            folder += L"\\";
            installation.description = L"path file with a trailing separator";
            break;
        case 2:
            folder += L"\\\\/";
            installation.description = L"path file with trailing separators";
            break;
        case 3:
            prefix = "\xEF\xBB\xBF";
            installation.description = L"path file with a byte-order mark";
            break;
        case 4:
            suffix = Pick(random, 2) ? "\r\n" : "\n\n";
            installation.description = L"path file with line ends";
            break;
        case 5:
            folder[0] = static_cast<wchar_t>(std::towlower(folder[0]));
            installation.description = L"path file with a small drive letter";
            break;
        case 6:
            std::replace(folder.begin(), folder.end(), L'\\', L'/');
            installation.description = L"path file with slashes";
            break;
        case 7:
            suffix = "\xFF\xFE invalid";  // decoding stops before the invalid byte
            installation.description = L"path file followed by invalid UTF-8";
            break;
        default:
            suffix.assign(1, ' ');        // (assigning a one-character literal trips a false -Wrestrict in GCC 12)
            installation.usable = false;  // blanks are part of the folder name
            installation.description = L"path file with a trailing blank";
            break;
    }
    installation.description.append(L" to ").append(variant.name);
    installation.pathFileBytes = prefix;
    installation.pathFileBytes.append(TestSupport::WideToUtf8(folder)).append(suffix);
    return installation;
}

// A path file that names no game center. Random bytes and a huge text name no folder on a local drive:
// nothing anyone can vouch for, so they are passed over and the entry behind them decides. A folder
// without tgc.exe ends the lookup: not installed, the entry unread.
Installation UselessPathFile(std::mt19937_64& random)
{
    Installation installation;
    installation.hasPathFile = true;
    installation.usable = true;
    switch (Pick(random, 4)) {
        case 0:
            installation.pathFileBytes = std::string(1, 'Q').append(RandomBytes(random, Pick(random, 300)));
            installation.description = L"path file of random bytes";
            break;
        case 1:
            installation.pathFileBytes = std::string(200000 + Pick(random, 50000), 'a');
            installation.description = L"huge path file";
            break;
        case 2:
            installation.pathFileBytes = TestSupport::WideToUtf8(TestSupport::ScratchDir() + L"\\no such folder");
            installation.description = L"path file to a missing folder";
            installation.usable = false;
            break;
        default:
            installation.pathFileBytes = TestSupport::WideToUtf8(TestSupport::BuildDir());
            installation.description = L"path file to a folder without the game center";
            installation.usable = false;
            break;
    }
    // A usable registry entry behind it.
    installation.uninstallValues.push_back(
        {HKEY_CURRENT_USER, KEY_WOW64_32KEY, REG_SZ, RegSz(TestSupport::FixtureGameCenterPath(L"27.0.0.0"))});
    return installation;
}

UninstallValue RandomUninstallValue(std::mt19937_64& random, bool& usable, std::wstring& description)
{
    const Variant& variant = PickVariant(random);
    const std::wstring exe = TestSupport::FixtureGameCenterPath(variant.name);
    UninstallValue value;
    value.hive = Pick(random, 2) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    usable = false;
    switch (Pick(random, 10)) {
        case 0:
        case 1:
            value.data = RegSz(exe);
            usable = variant.usable;
            description = L"DisplayIcon " + std::wstring(variant.name);
            break;
        case 2:
            value.data = RegSz(exe + L",0");
            usable = variant.usable;
            description = L"DisplayIcon with icon index " + std::wstring(variant.name);
            break;
        case 3:
            value.data = RegSz(L"\"" + exe + L"\"");
            description = L"quoted DisplayIcon";
            break;
        case 4:
            value.data = RegSz(TestSupport::FixtureGameCenterFolder(variant.name));
            description = L"DisplayIcon naming a folder";
            break;
        case 5:
            value.type = REG_DWORD;
            value.data = {0x2A, 0, 0, 0};
            description = L"DisplayIcon as a number";
            break;
        case 6:
            value.type = REG_BINARY;
            for (size_t i = 0, n = Pick(random, 64); i < n; ++i)
                value.data.push_back(static_cast<BYTE>(Pick(random, 256)));
            description = L"DisplayIcon of random bytes";
            break;
        case 7:
            value.data = RegSz(exe + std::wstring(600, L' '));  // more than 1024 bytes
            description = L"DisplayIcon too long to read";
            break;
        case 8:
            value.view = KEY_WOW64_64KEY;
            value.hive = HKEY_LOCAL_MACHINE;  // HKCU\Software is shared between the views
            value.data = RegSz(exe);
            description = L"DisplayIcon in the 64-bit view only";
            break;
        default:
            value.data = RegSz(L"");
            description = L"empty DisplayIcon";
            break;
    }
    return value;
}

Installation RegistryOnly(std::mt19937_64& random, bool emptyPathFile)
{
    Installation installation;
    installation.hasPathFile = emptyPathFile;
    bool usable = false;
    std::wstring description;
    installation.uninstallValues.push_back(RandomUninstallValue(random, usable, description));
    installation.usable = usable;
    installation.description = (emptyPathFile ? L"empty path file, " : L"") + description;
    return installation;
}

}  // namespace

Installation GenerateInstallation(std::mt19937_64& random)
{
    switch (Pick(random, 6)) {
        case 0: {
            Installation nothing;
            nothing.description = L"nothing installed";
            return nothing;
        }
        case 1:
        case 2:
            return PathFileToVariant(random);
        case 3:
            return UselessPathFile(random);
        case 4:
            return RegistryOnly(random, false);
        default:
            return RegistryOnly(random, true);
    }
}

}  // namespace Robustness
