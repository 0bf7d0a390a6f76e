#include <gtest/gtest.h>

#include <windows.h>

#include "app/module_folder.h"

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

}  // namespace
