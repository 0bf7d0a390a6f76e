#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/game_center_command_line.h"
#include "support/file_and_argv.h"

namespace {

using TestSupport::ArgvOf;

TEST(GameCenterCommandLine, QuotesTheFolderByTheWindowsArgumentRules)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Games\\Demo", L"\"C:\\Games\\Demo\""},
        {L"My Games\\X", L"\"My Games\\X\""},
        {L"C:\\", L"\"C:\\\\\""},
        {L"C:\\Games\\X\\", L"\"C:\\Games\\X\\\\\""},
        {L"a\"b", L"\"a\\\"b\""},
        {L"a\\\"b", L"\"a\\\\\\\"b\""},
        {L"\\\\server\\share", L"\"\\\\server\\share\""},
        {L"", L"\"\""},
    };
    for (const auto& [folder, quoted] : cases)
        EXPECT_EQ(ZGC::QuoteArgument(folder), quoted);
}

TEST(GameCenterCommandLine, GameCenterParsesBackExactlyTheFolder)
{
    const wchar_t* folders[] = {
        L"C:\\",
        L"C:\\Games\\X\\",
        L"D:\\My Games\\\u0418\u0433\u0440\u0430 \"Best\"",
        L"a\\\\\"b\\",
        L"C:\\Games\\\u00c9t\u00e9",
        L"\\\\server\\share\\",
        L"--update",
        L"",
    };
    for (const wchar_t* folder : folders) {
        const auto argv = ArgvOf(ZGC::GameCenterProcessCommandLine(
            L"C:\\GC\\tgc.exe", ZGC::GameCenterArgumentText(folder, ZGC::kUpdateArguments)));
        ASSERT_EQ(argv.size(), 6u) << ::testing::PrintToString(std::wstring(folder));
        EXPECT_EQ(argv[0], L"C:\\GC\\tgc.exe");
        EXPECT_EQ(argv[1], L"--target-game-folder");
        EXPECT_EQ(argv[2], folder);
        EXPECT_EQ(argv[3], L"--update");
        EXPECT_EQ(argv[4], L"-d");
        EXPECT_EQ(argv[5], folder);

        const auto uninstall = ArgvOf(ZGC::UninstallCommandLine(L"C:\\GC\\tgc.exe", folder, true));
        ASSERT_EQ(uninstall.size(), 7u);
        EXPECT_EQ(uninstall[3], folder);
        EXPECT_EQ(uninstall[6], folder);
    }
}

TEST(GameCenterCommandLine, OperationTextsStandBetweenTheTwoFolderArguments)
{
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {ZGC::kOpenArguments, L"--target-game-folder \"C:\\Games\\Demo\" --open -d \"C:\\Games\\Demo\""},
        {ZGC::kUpdateArguments, L"--target-game-folder \"C:\\Games\\Demo\" --update -d \"C:\\Games\\Demo\""},
        {ZGC::kVerifyIntegrityArguments,
         L"--target-game-folder \"C:\\Games\\Demo\" --verify-integrity -d \"C:\\Games\\Demo\""},
        {ZGC::ChangeClientTypeArguments(L"beta test"),
         L"--target-game-folder \"C:\\Games\\Demo\" -ct -t beta test -d \"C:\\Games\\Demo\""},
        {ZGC::InstallArguments(L"x\"y"),
         L"--target-game-folder \"C:\\Games\\Demo\" --install -g x\"y -d \"C:\\Games\\Demo\""},
    };
    for (const auto& [operation, expected] : cases)
        EXPECT_EQ(ZGC::GameCenterArgumentText(L"C:\\Games\\Demo", operation), expected);
    EXPECT_EQ(ZGC::GameCenterProcessCommandLine(L"C:\\GC\\tgc.exe", L"--open"), L"\"C:\\GC\\tgc.exe\" --open");
}

TEST(GameCenterCommandLine, UninstallPutsPaOnlyInQuietMode)
{
    EXPECT_EQ(ZGC::UninstallCommandLine(L"C:\\GC\\tgc.exe", L"C:\\Games\\Demo", true),
              L"\"C:\\GC\\tgc.exe\" --uninstall -d \"C:\\Games\\Demo\" --pa --target-game-folder \"C:\\Games\\Demo\"");
    EXPECT_EQ(ZGC::UninstallCommandLine(L"C:\\GC\\tgc.exe", L"C:\\Games\\Demo", false),
              L"\"C:\\GC\\tgc.exe\" --uninstall -d \"C:\\Games\\Demo\"  --target-game-folder \"C:\\Games\\Demo\"");
}

TEST(GameCenterCommandLine, GameCenterFolderDropsTheLastComponent)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\GC\\tgc.exe", L"C:\\GC"},
        {L"C:\\Program Files (x86)\\Tarvo\\tgc.exe", L"C:\\Program Files (x86)\\Tarvo"},
        {L"C:\\tgc.exe", L"C:\\"},
        {L"tgc.exe", L""},
        {L"", L""},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(ZGC::GameCenterFolder(path), folder);
}

}  // namespace
