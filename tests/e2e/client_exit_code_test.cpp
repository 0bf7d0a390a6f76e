// Whatever goes wrong, the client ends with exit code 0 and, in quiet mode, starts and shows nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include "libraries/system/win32/unique_resource.h"
#include "stand_in_game_center.h"
#include "support/test_paths.h"

namespace {

using E2e::StandInGameCenter;
using E2e::StartLog;

const wchar_t* const kQuietOperations[] = {
    L"--quiet",
    L"--quiet --update",
    L"--quiet --verify-integrity",
    L"--quiet --uninstall",
    L"--quiet --cct beta",
    L"--quiet --install pkg",
};

TEST(ClientExitCode, QuietClientWithoutUsableGameCenterEndsWithZeroAndStartsNothing)
{
    for (const wchar_t* operation : kQuietOperations) {
        SCOPED_TRACE(TestSupport::WideToUtf8(operation));
        {
            const TestSupport::ScopedNoGameCenter missing;
            const StartLog log;
            EXPECT_EQ(TestSupport::RunClient(operation), 0u);
            EXPECT_TRUE(log.nothingStarted(300));
        }
        for (const wchar_t* variant : {L"26.0.2.1045", L"noversion"}) {
            const StandInGameCenter outdated(variant);
            EXPECT_EQ(TestSupport::RunClient(operation), 0u);
            EXPECT_TRUE(outdated.nothingStarted(300));
        }
    }
}

TEST(ClientExitCode, NotificationWithoutEntryShowsNothingAndStartsNothing)
{
    for (const wchar_t* arguments : {L"--propose-zgc-install 104 --update", L"--propose-zgc-install none",
                                     L"--propose-zgc-install -110", L"--propose-zgc-install 0x6E"}) {
        SCOPED_TRACE(TestSupport::WideToUtf8(arguments));
        const StandInGameCenter gameCenter;
        EXPECT_EQ(TestSupport::RunClient(arguments, 10000), 0u);
        EXPECT_TRUE(gameCenter.nothingStarted(300));
    }
}

// Points the machine's common application-data folder at a drive that does not exist, so that the
// folder cannot be resolved; puts the setting back afterwards.
class ScopedUnresolvableProgramData {
public:
    ScopedUnresolvableProgramData()
    {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key_.put()) != ERROR_SUCCESS)
            throw std::runtime_error("shell folders key does not open");
        wchar_t buffer[1024];
        DWORD size = sizeof buffer;
        if (RegQueryValueExW(key_.get(), kValue, nullptr, &type_, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS)
            saved_.assign(buffer, size / sizeof(wchar_t));
        Set(REG_EXPAND_SZ, std::wstring(L"Q:\\nowhere") + L'\0');
    }
    ~ScopedUnresolvableProgramData()
    {
        if (saved_.empty())
            RegDeleteValueW(key_.get(), kValue);
        else
            Set(type_, saved_);
    }

private:
    static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr wchar_t kValue[] = L"Common AppData";

    void Set(DWORD type, const std::wstring& data)
    {
        RegSetValueExW(key_.get(), kValue, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    }

    System::Win32::UniqueRegKey key_;
    DWORD type_ = REG_EXPAND_SZ;
    std::wstring saved_;
};

TEST(ClientExitCode, UnresolvableProgramDataEndsWithZeroShowingAndStartingNothing)
{
    const StandInGameCenter gameCenter;  // installed, but the client cannot find where to look
    const ScopedUnresolvableProgramData broken;
    for (const wchar_t* arguments : {L"--update", L"--uninstall", L"--quiet --verify-integrity", L""}) {
        SCOPED_TRACE(TestSupport::WideToUtf8(arguments));
        EXPECT_EQ(TestSupport::RunClient(arguments, 10000), 0u);
    }
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

}  // namespace
