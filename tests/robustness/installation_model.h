// Random game-center installations (path file and uninstall entries) with whether each names a
// usable game center, worked out from how it was made.
#pragma once

#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace Robustness {

struct UninstallValue {
    HKEY hive = HKEY_CURRENT_USER;
    REGSAM view = KEY_WOW64_32KEY;
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
};

struct Installation {
    std::wstring description;
    bool hasPathFile = false;
    std::string pathFileBytes;
    std::vector<UninstallValue> uninstallValues;
    bool usable = false;
};

Installation GenerateInstallation(std::mt19937_64& random);

}  // namespace Robustness
