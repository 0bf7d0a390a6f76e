// The uninstall entry: which hive and view are read, and which "DisplayIcon" values name the game center.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/locate_game_center.h"
#include "libraries/system/win32/unique_resource.h"
#include "support/game_center_record.h"
#include "support/machine_state.h"
#include "support/test_paths.h"
#include "support/trust_seam.h"

namespace {

using Discovery::ReadRegistryString;
using TestSupport::FixtureGameCenterFolder;
using TestSupport::FixtureGameCenterPath;
using TestSupport::ScopedNoGameCenter;
using TestSupport::ScopedUninstallEntry;

// The lookup of a run with or without administrator rights (with no path file, the entries decide).
std::wstring Located(bool administratorRights = false)
{
    return Discovery::LocateGameCenter(TestSupport::TestRunRule(administratorRights)).path();
}

class UninstallEntry : public ::testing::Test {
protected:
    const std::wstring userPath_ = FixtureGameCenterPath(L"26.0.2.1046");
    const std::wstring machinePath_ = FixtureGameCenterPath(L"27.0.0.0");
    ScopedNoGameCenter clean_;
};

std::vector<BYTE> Bytes(const std::wstring& units)
{
    const auto* begin = reinterpret_cast<const BYTE*>(units.data());
    return std::vector<BYTE>(begin, begin + units.size() * sizeof(wchar_t));
}

// The same file, spelled with "." components until the text is `length` units long.
std::wstring PaddedPath(const std::wstring& folder, size_t length)
{
    std::wstring path = folder;
    const std::wstring name = L"\\tgc.exe";
    while (path.size() + 2 + name.size() <= length)
        path += L"\\.";
    if (path.size() + name.size() < length)
        path += L"\\";  // a doubled separator is harmless too
    return path + name;
}

TEST_F(UninstallEntry, CurrentUserWinsOverMachineOnlyWithoutAdministratorRights)
{
    {
        ScopedUninstallEntry machine(HKEY_LOCAL_MACHINE, machinePath_);
        EXPECT_EQ(Located(), machinePath_) << "machine only";
        EXPECT_EQ(Located(true), machinePath_) << "machine only, administrator";
        ScopedUninstallEntry user(HKEY_CURRENT_USER, userPath_);
        EXPECT_EQ(Located(), userPath_) << "both";
        // Machine installs only: the user's own unelevated programs can write his entry.
        EXPECT_EQ(Located(true), machinePath_) << "both, administrator";
        // A tgc.exe that is missing settles it: the machine's is not tried.
        ScopedUninstallEntry unusable(HKEY_CURRENT_USER, FixtureGameCenterFolder(L"26.0.2.1046") + L"\\x\\tgc.exe");
        EXPECT_EQ(Located(), L"") << "user entry names nothing";
        // Another program is no candidate at all: passed over like an absent entry.
        ScopedUninstallEntry other(HKEY_CURRENT_USER, TestSupport::ClientExePath());
        EXPECT_EQ(Located(), machinePath_) << "user entry names another program";
    }
    ScopedUninstallEntry user(HKEY_CURRENT_USER, userPath_);
    EXPECT_EQ(Located(), userPath_) << "user only";
    EXPECT_EQ(Located(true), L"") << "user only, administrator";
}

TEST_F(UninstallEntry, AFailedCurrentUserReadFallsBackToMachine)
{
    ScopedUninstallEntry machine(HKEY_LOCAL_MACHINE, machinePath_);
    const std::wstring folder = FixtureGameCenterFolder(L"26.0.2.1046");
    const struct {
        const char* what;
        std::vector<BYTE> bytes;
        std::wstring located;
    } cases[] = {
        {"511 units and NUL fill 1024 bytes", Bytes(PaddedPath(folder, 511) + L'\0'), PaddedPath(folder, 511)},
        {"512 units without NUL fill 1024 bytes", Bytes(PaddedPath(folder, 512)), PaddedPath(folder, 512)},
        {"512 units and NUL are too long", Bytes(PaddedPath(folder, 512) + L'\0'), machinePath_},
        {"far too long", Bytes(PaddedPath(folder, 900) + L'\0'), machinePath_},
    };
    for (const auto& c : cases) {
        ScopedUninstallEntry user(HKEY_CURRENT_USER, REG_SZ, c.bytes);
        EXPECT_EQ(Located(), c.located) << c.what;
    }
}

TEST_F(UninstallEntry, AcceptsOnlyAnExistingFileAfterTheLastComma)
{
    const std::wstring file = userPath_;
    const std::wstring folder = FixtureGameCenterFolder(L"26.0.2.1046");
    const struct {
        std::wstring value;
        std::wstring located;
    } cases[] = {
        {file, file},
        {file + L",0", file},
        {file + L",-101", file},
        {file + L",", file},
        {file + L",0,1", L""},  // only the last comma goes
        {L"\"" + file + L"\"", L""},
        {L"\"" + file + L"\",0", L""},
        {folder, L""},
        {folder + L"\\", L""},
        {folder + L",0", L""},
        {L" " + file, L""},
        {folder + L"\\missing.exe", L""},
        {L"%TGC_TEST_FOLDER%\\tgc.exe", L""},  // no expansion
        {L"", L""},
    };
    SetEnvironmentVariableW(L"TGC_TEST_FOLDER", folder.c_str());  // exists only while this test runs
    for (const auto& c : cases) {
        ScopedUninstallEntry user(HKEY_CURRENT_USER, c.value);
        EXPECT_EQ(Located(), c.located) << TestSupport::WideToUtf8(c.value);
    }
    SetEnvironmentVariableW(L"TGC_TEST_FOLDER", nullptr);
}

TEST_F(UninstallEntry, ACommaInAFolderNameCutsThePath)
{
    // A real file behind the comma, so keeping the whole value would find it. Beside the installed
    // stand-ins, whose folders no one else may change: a build folder under a Unix folder that anyone
    // may write (a clone in /tmp) would be passed over for that alone.
    const std::wstring installed = FixtureGameCenterFolder(L"26.0.2.1046");
    const std::wstring folder = installed.substr(0, installed.rfind(L'\\')) + L"\\center,copy";
    const std::wstring file = folder + L"\\tgc.exe";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CopyFileW(userPath_.c_str(), file.c_str(), FALSE));
    {
        ScopedUninstallEntry user(HKEY_CURRENT_USER, file);
        EXPECT_EQ(Located(), L"");
        ScopedUninstallEntry withIndex(HKEY_CURRENT_USER, file + L",0");
        EXPECT_EQ(Located(), file);
    }
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(UninstallEntry, ReturnsTheStoredTextWithoutTrailingNuls)
{
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"one NUL", REG_SZ, Bytes(userPath_ + L'\0')},
        {"no NUL", REG_SZ, Bytes(userPath_)},
        {"several NULs", REG_SZ, Bytes(userPath_ + std::wstring(5, L'\0'))},
        {"text after a NUL", REG_SZ, Bytes(userPath_ + L'\0' + L"junk")},
        {"expandable type", REG_EXPAND_SZ, Bytes(userPath_ + L'\0')},
        {"binary type", REG_BINARY, Bytes(userPath_)},
    };
    for (const auto& c : cases) {
        ScopedUninstallEntry user(HKEY_CURRENT_USER, c.type, c.bytes);
        const std::wstring located = Located();
        EXPECT_EQ(located, userPath_) << c.what;
        EXPECT_EQ(located.size(), userPath_.size()) << c.what;
    }
}

TEST_F(UninstallEntry, NeverReadsThe64BitView)
{
    {
        ScopedUninstallEntry machine64(HKEY_LOCAL_MACHINE, machinePath_, KEY_WOW64_64KEY);
        EXPECT_EQ(Located(), L"");
        ScopedUninstallEntry machine32(HKEY_LOCAL_MACHINE, userPath_);
        EXPECT_EQ(Located(), userPath_);
    }
    EXPECT_EQ(Located(), L"");
}

TEST(ReadRegistryString, ReportsTheStatusAndFallsBackToTheDefault)
{
    ScopedNoGameCenter clean;
    ScopedUninstallEntry entry(HKEY_CURRENT_USER, L"C:\\value");
    System::Win32::UniqueRegKey key;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, TestSupport::kUninstallKeyPath, 0, KEY_READ | KEY_WOW64_32KEY, key.put()),
        ERROR_SUCCESS);

    std::wstring text = L"before";
    EXPECT_EQ(ReadRegistryString(key.get(), L"DisplayIcon", text, L"default"), ERROR_SUCCESS);
    EXPECT_EQ(text, L"C:\\value");

    EXPECT_EQ(ReadRegistryString(key.get(), L"Missing", text, L"default"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, L"default");

    text = L"before";
    EXPECT_NE(ReadRegistryString(nullptr, L"DisplayIcon", text, L"default"), ERROR_SUCCESS);
    EXPECT_EQ(text, L"default");
}

TEST(ReadRegistryString, AValueOverTheLimitIsMoreData)
{
    ScopedNoGameCenter clean;
    ScopedUninstallEntry entry(HKEY_CURRENT_USER, std::wstring(600, L'x'));
    System::Win32::UniqueRegKey key;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, TestSupport::kUninstallKeyPath, 0, KEY_READ | KEY_WOW64_32KEY, key.put()),
        ERROR_SUCCESS);
    std::wstring text;
    EXPECT_EQ(ReadRegistryString(key.get(), L"DisplayIcon", text, L"default"), ERROR_MORE_DATA);
    EXPECT_EQ(text, L"default");
}

}  // namespace
