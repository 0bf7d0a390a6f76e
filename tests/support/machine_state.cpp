#include "support/machine_state.h"

#include <shlobj.h>

#include <iterator>
#include <memory>
#include <stdexcept>

#include "libraries/system/win32/unique_resource.h"
#include "support/file_and_argv.h"
#include "support/test_paths.h"

namespace TestSupport {
namespace {

using System::Win32::UniqueFile;
using System::Win32::UniqueRegKey;

struct FindTraits {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type h) { ::FindClose(h); }
};
using UniqueFind = System::Win32::UniqueResource<FindTraits>;

[[noreturn]] void Fail(const std::string& what, DWORD error)
{
    throw std::runtime_error("machine state: " + what + " failed with " + std::to_string(error));
}

std::wstring ProgramData()
{
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &raw);
    const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owned(raw, &CoTaskMemFree);
    if (FAILED(hr))
        Fail("SHGetKnownFolderPath", static_cast<DWORD>(hr));
    return owned.get();
}

std::vector<std::wstring> DataFolders()
{
    const std::wstring tarvo = ProgramData() + L"\\Tarvo";
    return {tarvo, tarvo + L"\\GameCenter", tarvo + L"\\GameCenter\\data"};
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring UninstallParent(const std::wstring& path)
{
    return path.substr(0, path.rfind(L'\\'));
}

// Stores exactly these bytes. For a string type the set call reads one unit past the data it is
// given and, where that unit is NUL and the last one is not, stores the NUL too; what follows a
// vector's end is whatever the heap holds, so a value without its NUL came back 2 bytes longer on
// some machines. A non-NUL unit after a copy of the data keeps the size as given.
LSTATUS SetValueExactly(HKEY key, const wchar_t* name, DWORD type, const std::vector<BYTE>& data)
{
    std::vector<BYTE> guarded(data);
    guarded.resize(data.size() + 2 * sizeof(wchar_t), 0xFF);
    return RegSetValueExW(key, name, 0, type, guarded.data(), static_cast<DWORD>(data.size()));
}

bool KeyExists(HKEY hive, const std::wstring& path, REGSAM view)
{
    UniqueRegKey key;
    return RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
}

std::vector<RegistryValue> ReadValues(HKEY key)
{
    DWORD count = 0, maxName = 0, maxData = 0;
    const LSTATUS info = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName,
                                          &maxData, nullptr, nullptr);
    if (info != ERROR_SUCCESS)
        Fail("RegQueryInfoKeyW", static_cast<DWORD>(info));
    std::vector<RegistryValue> values;
    for (DWORD i = 0; i < count; ++i) {
        RegistryValue value;
        std::wstring name(maxName + 1, L'\0');
        DWORD nameLength = maxName + 1;
        value.data.resize(maxData);
        DWORD dataSize = maxData;
        const LSTATUS status =
            RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type, value.data.data(), &dataSize);
        if (status != ERROR_SUCCESS)
            Fail("RegEnumValueW", static_cast<DWORD>(status));
        name.resize(nameLength);
        value.name = name;
        value.data.resize(dataSize);
        values.push_back(std::move(value));
    }
    return values;
}

UniqueRegKey CreateKey(HKEY hive, const std::wstring& path, REGSAM view)
{
    UniqueRegKey key;
    const LSTATUS status = RegCreateKeyExW(hive, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS)
        Fail("RegCreateKeyExW", static_cast<DWORD>(status));
    return key;
}

void DeleteKeyTree(HKEY hive, const std::wstring& path, REGSAM view)
{
    {
        UniqueRegKey key;
        if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_ALL_ACCESS | view, key.put()) != ERROR_SUCCESS)
            return;
        RegDeleteTreeW(key.get(), nullptr);
    }
    const LSTATUS status = RegDeleteKeyExW(hive, path.c_str(), view, 0);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        Fail("RegDeleteKeyExW", static_cast<DWORD>(status));
}

}  // namespace

std::wstring PathFilePath()
{
    return DataFolders().back() + L"\\tgc_path.dat";
}

void CreatePathFileFolders()
{
    for (const std::wstring& folder : DataFolders())
        CreateDirectoryW(folder.c_str(), nullptr);
}

std::wstring FolderSnapshot(const std::wstring& folder)
{
    std::wstring listed;
    WIN32_FIND_DATAW found;
    const UniqueFind search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search)
        return Exists(folder) ? L"" : L"absent";
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listed += path + L"\\\n" + FolderSnapshot(path);
            continue;
        }
        const ULONGLONG size = (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
        const ULONGLONG written =
            (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
        listed += path + L" " + std::to_wstring(size) + L" " + std::to_wstring(written) + L"\n";
    } while (FindNextFileW(search.get(), &found));
    return listed;
}

std::wstring RegistrySnapshot(HKEY hive, const std::wstring& path, REGSAM view)
{
    UniqueRegKey key;
    if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS)
        return L"absent";
    std::wstring listed;
    for (const RegistryValue& value : ReadValues(key.get())) {
        listed += path + L" : " + value.name + L" " + std::to_wstring(value.type) + L" ";
        for (const BYTE b : value.data)
            listed += std::to_wstring(b) + L",";
        listed += L"\n";
    }
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        listed += path + L"\\" + name + L"\n" + RegistrySnapshot(hive, path + L"\\" + name, view);
    }
    return listed;
}

SavedPathFile::SavedPathFile()
{
    for (const std::wstring& folder : DataFolders())
        if (!Exists(folder))
            missingFolders_.push_back(folder);
    const std::wstring file = PathFilePath();
    existed_ = Exists(file);
    if (existed_) {
        const auto bytes = ReadFileBytes(file);
        if (!bytes)
            Fail("reading the path file", GetLastError());
        bytes_ = *bytes;
    }
}

SavedPathFile::~SavedPathFile()
{
    try {
        if (existed_)
            write(bytes_);
        else
            remove();
        for (auto folder = missingFolders_.rbegin(); folder != missingFolders_.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
    } catch (...) {
        // A destructor must not throw; the next test will see the leftover.
    }
}

void SavedPathFile::write(const std::string& bytes) const
{
    CreatePathFileFolders();
    UniqueFile file(
        CreateFileW(PathFilePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Fail("creating the path file", GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        Fail("writing the path file", GetLastError());
}

void SavedPathFile::remove() const
{
    if (!DeleteFileW(PathFilePath().c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND)
        Fail("deleting the path file", GetLastError());
}

SavedUninstallEntry::SavedUninstallEntry(HKEY hive, REGSAM view) : hive_(hive), view_(view)
{
    // Every key from "Software\..." down to the entry that is not there yet, outermost first.
    std::vector<std::wstring> missing;
    for (std::wstring path = kUninstallKeyPath; path.find(L'\\') != std::wstring::npos && !KeyExists(hive, path, view);
         path = UninstallParent(path))
        missing.insert(missing.begin(), path);
    missingKeys_ = std::move(missing);

    UniqueRegKey key;
    existed_ = RegOpenKeyExW(hive, kUninstallKeyPath, 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
    if (existed_)
        values_ = ReadValues(key.get());
}

SavedUninstallEntry::~SavedUninstallEntry()
{
    try {
        if (existed_) {
            const UniqueRegKey key = CreateKey(hive_, kUninstallKeyPath, view_);
            for (const RegistryValue& value : ReadValues(key.get()))
                RegDeleteValueW(key.get(), value.name.c_str());
            for (const RegistryValue& value : values_)
                SetValueExactly(key.get(), value.name.c_str(), value.type, value.data);
        } else {
            DeleteKeyTree(hive_, kUninstallKeyPath, view_);
        }
        for (auto path = missingKeys_.rbegin(); path != missingKeys_.rend(); ++path)
            RegDeleteKeyExW(hive_, path->c_str(), view_, 0);
    } catch (...) {
        // A destructor must not throw; the next test will see the leftover.
    }
}

void SavedUninstallEntry::setDisplayIcon(DWORD type, const std::vector<BYTE>& data) const
{
    const UniqueRegKey key = CreateKey(hive_, kUninstallKeyPath, view_);
    const LSTATUS status = SetValueExactly(key.get(), L"DisplayIcon", type, data);
    if (status != ERROR_SUCCESS)
        Fail("RegSetValueExW", static_cast<DWORD>(status));
}

void SavedUninstallEntry::remove() const
{
    DeleteKeyTree(hive_, kUninstallKeyPath, view_);
}

ScopedPathFile::ScopedPathFile(const std::string& bytes)
{
    saved_.write(bytes);
}

ScopedPathFile::ScopedPathFile(const std::wstring& folder) : ScopedPathFile(WideToUtf8(folder)) {}

namespace {

std::vector<BYTE> RegSzBytes(const std::wstring& text)
{
    const auto* begin = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(begin, begin + (text.size() + 1) * sizeof(wchar_t));
}

}  // namespace

ScopedUninstallEntry::ScopedUninstallEntry(HKEY hive, const std::wstring& displayIcon, REGSAM view)
    : ScopedUninstallEntry(hive, REG_SZ, RegSzBytes(displayIcon), view)
{
}

ScopedUninstallEntry::ScopedUninstallEntry(HKEY hive, DWORD type, const std::vector<BYTE>& data, REGSAM view)
    : saved_(hive, view)
{
    saved_.setDisplayIcon(type, data);
}

ScopedNoGameCenter::ScopedNoGameCenter()
    : user32_(HKEY_CURRENT_USER, KEY_WOW64_32KEY),
      machine32_(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY),
      machine64_(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY)
{
    pathFile_.remove();
    user32_.remove();
    machine32_.remove();
    machine64_.remove();
}

}  // namespace TestSupport
