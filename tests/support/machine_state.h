// Arranges where the client looks for the game center, through Win32 inside the test prefix, and puts
// everything back as it was when the arranging object goes out of scope.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

inline constexpr wchar_t kUninstallKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarvo Game Center";

// <common application data>\Tarvo\GameCenter\data\tgc_path.dat
std::wstring PathFilePath();

// Makes the folders that hold the path file.
void CreatePathFileFolders();

// What a folder holds (every file and folder below it, with sizes and write times) and what a
// registry key holds (its values and keys below it), as text to compare before and after a run;
// "absent" for a folder or key that does not exist.
std::wstring FolderSnapshot(const std::wstring& folder);
std::wstring RegistrySnapshot(HKEY hive, const std::wstring& path, REGSAM view);

// Remembers the path file and the folders above it; the destructor restores them.
class SavedPathFile {
public:
    SavedPathFile();
    ~SavedPathFile();
    SavedPathFile(const SavedPathFile&) = delete;
    SavedPathFile& operator=(const SavedPathFile&) = delete;

    void write(const std::string& bytes) const;
    void remove() const;

private:
    std::vector<std::wstring> missingFolders_;  // outermost first
    bool existed_ = false;
    std::string bytes_;
};

struct RegistryValue {
    std::wstring name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Remembers the uninstall key of one hive in one registry view (its values, and which keys above
// it were missing); the destructor restores it.
class SavedUninstallEntry {
public:
    SavedUninstallEntry(HKEY hive, REGSAM view);
    ~SavedUninstallEntry();
    SavedUninstallEntry(const SavedUninstallEntry&) = delete;
    SavedUninstallEntry& operator=(const SavedUninstallEntry&) = delete;

    void setDisplayIcon(DWORD type, const std::vector<BYTE>& data) const;
    void remove() const;

private:
    HKEY hive_;
    REGSAM view_;
    std::vector<std::wstring> missingKeys_;  // outermost first
    bool existed_ = false;
    std::vector<RegistryValue> values_;
};

// The path file holding exactly these bytes.
class ScopedPathFile {
public:
    explicit ScopedPathFile(const std::string& bytes);
    // The folder text written as UTF-8, without a byte-order mark or line end.
    explicit ScopedPathFile(const std::wstring& folder);

private:
    SavedPathFile saved_;
};

// The uninstall entry of `hive` (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE) with a "DisplayIcon" value.
class ScopedUninstallEntry {
public:
    // REG_SZ with its terminating NUL.
    ScopedUninstallEntry(HKEY hive, const std::wstring& displayIcon, REGSAM view = KEY_WOW64_32KEY);
    // Any type and bytes, stored as given.
    ScopedUninstallEntry(HKEY hive, DWORD type, const std::vector<BYTE>& data, REGSAM view = KEY_WOW64_32KEY);

private:
    SavedUninstallEntry saved_;
};

// Neither path file nor uninstall entry (both hives, both views) for the scope.
class ScopedNoGameCenter {
public:
    ScopedNoGameCenter();

private:
    SavedPathFile pathFile_;
    SavedUninstallEntry user32_, machine32_, machine64_;
};

}  // namespace TestSupport
