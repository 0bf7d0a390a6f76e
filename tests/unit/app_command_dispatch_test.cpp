#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/command_dispatch.h"

namespace {

using Tokens = std::vector<std::wstring>;

// Writes down every operation asked of it.
class RecordingClient : public ZGC::IZGCApiCli {
public:
    std::vector<std::wstring> calls;
    ResultCode Open() override { return Record(L"Open"); }
    ResultCode Update() override { return Record(L"Update"); }
    ResultCode VerifyIntegrity() override { return Record(L"VerifyIntegrity"); }
    ResultCode Uninstall() override { return Record(L"Uninstall"); }
    ResultCode ChangeClientType(const wchar_t* type) override
    {
        return Record(L"ChangeClientType(" + std::wstring(type) + L")");
    }
    ResultCode Install(const wchar_t* argument) override { return Record(L"Install(" + std::wstring(argument) + L")"); }

private:
    ResultCode Record(std::wstring call)
    {
        calls.push_back(std::move(call));
        return kResultNotInstalled;  // a failing operation must not change what the scan does
    }
};

std::vector<std::wstring> Dispatch(const Tokens& tokens)
{
    RecordingClient client;
    ZGC::DispatchCommand(tokens, client, [&](std::int32_t code) {
        client.calls.push_back(L"Notification(" + std::to_wstring(code) + L")");
    });
    return client.calls;
}

TEST(CommandDispatch, RunsExactlyOneOperationChosenByTheFirstSwitch)
{
    const std::wstring exe = L"C:\\Games\\Demo\\tgc_client.exe";
    const std::pair<Tokens, const wchar_t*> cases[] = {
        {{}, L"Open"},
        {{exe}, L"Open"},
        {{exe, L"--update"}, L"Update"},
        {{exe, L"--uninstall"}, L"Uninstall"},
        {{exe, L"--verify-integrity"}, L"VerifyIntegrity"},
        {{exe, L"--cct", L"beta test"}, L"ChangeClientType(beta test)"},
        {{exe, L"--install", L"pkg"}, L"Install(pkg)"},
        {{exe, L"--update", L"--uninstall"}, L"Update"},
        {{exe, L"--verify-integrity", L"--update"}, L"VerifyIntegrity"},
        {{exe, L"--quiet", L"--target-game-folder", L"X", L"--uninstall"}, L"Uninstall"},
        {{exe, L"--target-game-folder", L"--update"}, L"Update"},
        {{exe, L"--cct", L"--update"}, L"ChangeClientType(--update)"},  // the value is not examined
        {{exe, L"--install", L"--cct", L"x"}, L"Install(--cct)"},
        {{exe, L"--cct"}, L"Open"},
        {{exe, L"--install"}, L"Open"},
        {{exe, L"--propose-zgc-install"}, L"Open"},
        {{exe, L"--UPDATE"}, L"Open"},
        {{exe, L"--Uninstall"}, L"Open"},
        {{exe, L"--open"}, L"Open"},
        {{exe, L"--pa", L"--quiet"}, L"Open"},
        {{exe, L"--update=1", L"-u", L"update", L"--updat"}, L"Open"},
        {{exe, L"--propose-zgc-install", L"110", L"--quiet"}, L"Notification(110)"},
        {{exe, L"--propose-zgc-install", L"none", L"--update"}, L"Notification(0)"},
        {{exe, L"--propose-zgc-install", L"108", L"--update"}, L"Notification(108)"},
        {{L"--update"}, L"Update"},                             // the program's own token takes part in the scan
        {{exe, L"--log", L"run.log", L"--update"}, L"Update"},  // the log is no operation
        {{exe, L"--log", L"run.log"}, L"Open"},
        {{exe, L"--log"}, L"Open"},
    };
    for (const auto& [tokens, expected] : cases) {
        const auto calls = Dispatch(tokens);
        ASSERT_EQ(calls.size(), 1u) << ::testing::PrintToString(tokens);
        EXPECT_EQ(calls[0], expected) << ::testing::PrintToString(tokens);
    }
}

TEST(CommandDispatch, GameFolderIsTheTokenAfterTheFirstTargetSwitch)
{
    const std::wstring exe = L"tgc_client.exe";
    const std::pair<Tokens, std::optional<std::wstring>> cases[] = {
        {{exe, L"--target-game-folder", L"C:\\Games\\X\\"}, L"C:\\Games\\X\\"},
        {{exe, L"--target-game-folder", L"..\\rel ative"}, L"..\\rel ative"},
        {{exe, L"--target-game-folder", L"A", L"--target-game-folder", L"B"}, L"A"},
        {{exe, L"--target-game-folder", L"--update"}, L"--update"},
        {{exe, L"--target-game-folder", L""}, L""},
        {{exe, L"--update", L"--target-game-folder"}, std::nullopt},
        {{exe, L"--Target-Game-Folder", L"A"}, std::nullopt},
        {{exe}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& [tokens, folder] : cases)
        EXPECT_EQ(ZGC::GameFolderArgument(tokens), folder) << ::testing::PrintToString(tokens);
}

TEST(CommandDispatch, LogFileIsTheTokenAfterTheFirstLogSwitch)
{
    const std::wstring exe = L"tgc_client.exe";
    const std::pair<Tokens, std::optional<std::wstring>> cases[] = {
        {{exe, L"--update", L"--log", L"C:\\Logs\\a b.log"}, L"C:\\Logs\\a b.log"},
        {{exe, L"--log", L"first.log", L"--log", L"second.log"}, L"first.log"},
        {{exe, L"--log", L"--quiet"}, L"--quiet"},
        {{exe, L"--update", L"--log"}, std::nullopt},
        {{exe, L"--Log", L"a.log"}, std::nullopt},
        {{exe, L"--log=a.log"}, std::nullopt},
    };
    for (const auto& [tokens, file] : cases)
        EXPECT_EQ(ZGC::LogFileArgument(tokens), file) << ::testing::PrintToString(tokens);
}

TEST(CommandDispatch, QuietIsAWholeTokenAnywhere)
{
    EXPECT_TRUE(ZGC::HasQuietSwitch({L"x.exe", L"--update", L"--quiet"}));
    EXPECT_TRUE(ZGC::HasQuietSwitch({L"x.exe", L"--quiet", L"--update"}));
    EXPECT_TRUE(ZGC::HasQuietSwitch({L"x.exe", L"--target-game-folder", L"--quiet"}));
    EXPECT_FALSE(ZGC::HasQuietSwitch({L"x.exe", L"--QUIET"}));
    EXPECT_FALSE(ZGC::HasQuietSwitch({L"x.exe", L"--quiet=1", L"-q"}));
    EXPECT_FALSE(ZGC::HasQuietSwitch({}));
}

TEST(CommandDispatch, NotificationCodeIsASignedDecimalPrefix)
{
    const std::pair<const wchar_t*, std::int32_t> cases[] = {
        {L"110", 110},
        {L"  108", 108},
        {L"\t\r\n\v\f-5", -5},
        {L"+7", 7},
        {L"12abc", 12},
        {L"1 2", 1},
        {L"0x10", 0},
        {L"abc", 0},
        {L"", 0},
        {L"-", 0},
        {L"+-3", 0},
        {L"- 3", 0},
        {L"000103", 103},
        {L"2147483647", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"2147483648", INT_MAX},
        {L"99999999999999999999999", INT_MAX},
        {L"-99999999999999999999999", INT_MIN},
        {L"\u0661\u0660", 0},  // digits of other scripts are not decimal digits here
    };
    for (const auto& [token, code] : cases)
        EXPECT_EQ(ZGC::ParseNotificationCode(token), code) << ::testing::PrintToString(std::wstring(token));
}

TEST(CommandDispatch, SplitsTheCommandLineByTheWindowsRules)
{
    const std::pair<const wchar_t*, Tokens> cases[] = {
        {L"", {}},
        {L"a.exe --update", {L"a.exe", L"--update"}},
        {L"  a.exe\t\t--cct   \"beta test\"", {L"a.exe", L"--cct", L"beta test"}},
        {L"a.exe \"C:\\Games\\X\\\\\"", {L"a.exe", L"C:\\Games\\X\\"}},
        {L"a.exe C:\\Games\\X\\", {L"a.exe", L"C:\\Games\\X\\"}},
        {L"a.exe a\\\"b", {L"a.exe", L"a\"b"}},
        {L"a.exe a\\\\b", {L"a.exe", L"a\\\\b"}},
        {L"a.exe \"\"", {L"a.exe", L""}},
        {L"a.exe \"open", {L"a.exe", L"open"}},
        {L"a.exe x\ny\rz", {L"a.exe", L"x", L"y", L"z"}},
        {L"\"C:\\Program Files\\a.exe\" --quiet", {L"C:\\Program Files\\a.exe", L"--quiet"}},
        {L"a.exe \"C:\\\u0418\u0433\u0440\u044b \u00e9\"", {L"a.exe", L"C:\\\u0418\u0433\u0440\u044b \u00e9"}},
    };
    for (const auto& [commandLine, tokens] : cases)
        EXPECT_EQ(ZGC::SplitCommandLine(commandLine), tokens) << ::testing::PrintToString(std::wstring(commandLine));
}

}  // namespace
