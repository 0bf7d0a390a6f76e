#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "app/module_folder.h"
#include "support/import_patch.h"

namespace {

TEST(ModuleFolder, DefaultGameFolderIsTheFolderOfTheExecutable)
{
    const std::wstring modulePath = ZGC::RunningModulePath();
    ASSERT_GT(modulePath.size(), 14u);
    EXPECT_EQ(modulePath.substr(modulePath.size() - 14), L"\\app_tests.exe");
    EXPECT_EQ(ZGC::DefaultGameFolder(), modulePath.substr(0, modulePath.size() - 14));
}

TEST(ModuleFolder, FolderOfAPathIsItsAbsoluteParent)
{
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"C:\\Games\\Demo\\tgc_client.exe", L"C:\\Games\\Demo"},
        {L"C:\\Games\\..\\Demo\\tgc_client.exe", L"C:\\Demo"},
        {L"C:\\tgc_client.exe", L"C:\\"},
        {L"tgc_client.exe", current},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(ZGC::FolderOfModulePath(path), folder) << ::testing::PrintToString(std::wstring(path));
}

const std::wstring kLongFolder = L"C:\\" + std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e');

// The system's answer for a module path longer than the buffer: the path cut to fit, and the size.
DWORD WINAPI LongModuleFileName(HMODULE, LPWSTR buffer, DWORD size)
{
    const std::wstring path = kLongFolder + L"\\tgc_client.exe";
    const std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
    path.copy(buffer, copied);
    buffer[copied] = L'\0';
    if (copied == path.size())
        return static_cast<DWORD>(copied);
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

TEST(ModuleFolder, AModulePathLongerThan260CharactersGivesItsFolder)
{
    const TestSupport::ScopedImportPatch patch("KERNEL32.dll", "GetModuleFileNameW",
                                               reinterpret_cast<void*>(&LongModuleFileName));
    ASSERT_TRUE(patch.Applied());
    EXPECT_EQ(ZGC::DefaultGameFolder(), kLongFolder);
}

}  // namespace
