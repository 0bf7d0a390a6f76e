// Every run starts only a game center that no one but the accounts it trusts can have planted or changed,
// and takes it only from the sources its rights allow.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "app/zgc_api_cli.h"
#include "libraries/system/win32/unique_resource.h"
#include "stand_in_game_center.h"
#include "support/scoped_writable.h"
#include "support/test_paths.h"

namespace {

using E2e::ShownWindows;
using E2e::StandInGameCenter;
using TestSupport::FixtureGameCenterFolder;
using TestSupport::FixtureGameCenterPath;
using TestSupport::ScopedWritableByEveryone;

constexpr wchar_t kPlanted[] = L"26.0.2.1046";  // what the arrangement offers first
constexpr wchar_t kTrusted[] = L"26.0.3.0";     // the machine entry behind it

struct Arrangement {
    const char* name;
    // The path file's folder text (nothing: no path file) and the current user's entry (nothing: none).
    std::optional<std::wstring> pathFileFolder;
    std::optional<std::wstring> userEntry;
    std::vector<std::wstring> writableByEveryone;  // made world-writable for the case
    // The folder whose tgc.exe a run without and one with administrator rights start (empty: nothing).
    std::wstring startedWithoutRights;
    std::wstring startedWithRights;
};

// The folder of the program a start ran, or what was recorded instead of exactly one start.
std::wstring StartedFolder(const std::vector<TestSupport::GameCenterRecord>& records)
{
    if (records.empty())
        return L"";
    if (records.size() != 1)
        return L"(" + std::to_wstring(records.size()) + L" starts)";
    const std::wstring program = E2e::ArgvOf(records[0].commandLine).at(0);
    return program.substr(0, program.find_last_of(L'\\'));
}

// A copy of a stand-in with a DLL and a subfolder beside it, as an installer would leave them.
std::wstring GameCenterWithNeighbours()
{
    const std::wstring folder = FixtureGameCenterFolder(kPlanted) + L"_neighbours";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\plugins").c_str(), nullptr);
    for (const wchar_t* name : {L"\\tgc.exe", L"\\helper.dll"}) {
        if (!CopyFileW(FixtureGameCenterPath(kPlanted).c_str(), (folder + name).c_str(), FALSE))
            throw std::runtime_error("the stand-in does not copy");
    }
    return folder;
}

// A program that records its start like the game center but is not called tgc.exe.
std::wstring AnotherProgram()
{
    const std::wstring folder = FixtureGameCenterFolder(kPlanted) + L"_other";
    CreateDirectoryW(folder.c_str(), nullptr);
    if (!CopyFileW(FixtureGameCenterPath(kPlanted).c_str(), (folder + L"\\launcher.exe").c_str(), FALSE))
        throw std::runtime_error("the stand-in does not copy");
    return folder + L"\\launcher.exe";
}

// Every arrangement offers first a game center someone else could have planted or changed (or one the run
// must not take from its source), with a trusted one behind it in the machine's uninstall entry. The
// fixtures are the test account's: an elevated run counts it as the installing account (the rule's seam),
// which is what a standard run trusts anyway.
TEST(ClientApiPlanting, EachRunPassesOverWhatOthersCouldHavePlanted)
{
    const std::wstring planted = FixtureGameCenterFolder(kPlanted);
    const std::wstring trusted = FixtureGameCenterFolder(kTrusted);
    const std::wstring pathFile = TestSupport::PathFilePath();
    const std::wstring neighbours = GameCenterWithNeighbours();
    const std::wstring linked = TestSupport::BuildDir() + L"\\linked_game_center\\gc";
    ASSERT_TRUE(CopyFileW(FixtureGameCenterPath(kPlanted).c_str(), (linked + L"\\tgc.exe").c_str(), FALSE));
    const Arrangement arrangements[] = {
        {"another user's path file (anyone may write it)", planted, std::nullopt, {pathFile}, trusted, trusted},
        {"another user's game center folder (anyone may write it)", planted, std::nullopt, {planted}, trusted, trusted},
        {"another user's tgc.exe (anyone may write it)",
         planted,
         std::nullopt,
         {planted + L"\\tgc.exe"},
         trusted,
         trusted},
        {"a Tarvo folder anyone may write above the path file",
         planted,
         std::nullopt,
         {pathFile.substr(0, pathFile.find(L"\\GameCenter\\"))},
         trusted,
         trusted},
        {"the same account's tgc.exe in its current-user entry",
         std::nullopt,
         planted + L"\\tgc.exe",
         {},
         planted,
         trusted},
        {"a linked game center folder whose real parent anyone may write", linked, std::nullopt, {}, trusted, trusted},
        {"a DLL beside tgc.exe anyone may write",
         neighbours,
         std::nullopt,
         {neighbours + L"\\helper.dll"},
         trusted,
         trusted},
        {"a subfolder beside tgc.exe anyone may write",
         neighbours,
         std::nullopt,
         {neighbours + L"\\plugins"},
         trusted,
         trusted},
        {"the DLL and subfolder beside tgc.exe as installed (644/755)",
         neighbours,
         std::nullopt,
         {},
         neighbours,
         neighbours},
        {"a current-user entry naming another program", std::nullopt, AnotherProgram(), {}, trusted, trusted},
        {"a path file naming a folder without tgc.exe", TestSupport::ScratchDir(), std::nullopt, {}, L"", L""},
        {"a network path in the path file", L"\\\\server\\share\\Tarvo", std::nullopt, {}, trusted, trusted},
        {"a device path in the path file", L"\\\\?\\" + planted, std::nullopt, {}, trusted, trusted},
        {"a relative path in the path file", L"gc_26.0.2.1046", std::nullopt, {}, trusted, trusted},
    };
    const TestSupport::ScopedNoGameCenter nothing;
    const StandInGameCenter log(kPlanted);  // the path file it writes is replaced below; its log is kept
    const TestSupport::ScopedUninstallEntry machine(HKEY_LOCAL_MACHINE, FixtureGameCenterPath(kTrusted));
    for (const Arrangement& arrangement : arrangements) {
        for (const bool administratorRights : {false, true}) {
            SCOPED_TRACE(std::string(arrangement.name) + (administratorRights ? ", administrator" : ", standard"));
            std::optional<TestSupport::ScopedPathFile> pathFileText;
            std::optional<TestSupport::SavedPathFile> noPathFile;
            if (arrangement.pathFileFolder)
                pathFileText.emplace(*arrangement.pathFileFolder);
            else
                noPathFile.emplace().remove();
            std::optional<TestSupport::ScopedUninstallEntry> user;
            if (arrangement.userEntry)
                user.emplace(HKEY_CURRENT_USER, *arrangement.userEntry);
            std::vector<std::unique_ptr<ScopedWritableByEveryone>> writable;
            for (const std::wstring& path : arrangement.writableByEveryone)
                writable.push_back(std::make_unique<ScopedWritableByEveryone>(path));

            const size_t before = log.records().size();
            ShownWindows shown;
            ZGC::ZGCApiCli client(L"C:\\Games\\Demo", true, E2e::RecordingServices(shown, administratorRights));
            const ResultCode result = client.Update();
            const auto records = log.waitForRecords(before + 1, 1500);
            const std::wstring started =
                StartedFolder(std::vector<TestSupport::GameCenterRecord>(records.begin() + before, records.end()));
            std::printf("%s, %s rights: started %ls\n", arrangement.name,
                        administratorRights ? "administrator" : "standard",
                        started.empty() ? L"nothing" : started.c_str());
            const std::wstring& expected =
                administratorRights ? arrangement.startedWithRights : arrangement.startedWithoutRights;
            EXPECT_EQ(result, expected.empty() ? kResultNotInstalled : kResultSuccess);
            EXPECT_EQ(started, expected);
        }
    }
}

TEST(ClientApiPlanting, NothingTrustedLeftIsANotInstalledGameCenter)
{
    // Only an untrusted path file: as if nothing were installed, with its notification unless quiet.
    const TestSupport::ScopedNoGameCenter nothing;
    const StandInGameCenter gameCenter(kPlanted);
    const ScopedWritableByEveryone writable(TestSupport::PathFilePath());
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "not quiet");
        ShownWindows shown;
        ZGC::ZGCApiCli client(L"C:\\Games\\Demo", quiet, E2e::RecordingServices(shown, true));
        EXPECT_EQ(client.Update(), kResultNotInstalled);
        EXPECT_EQ(client.Uninstall(), kResultNotInstalled);
        const std::vector<std::wstring> expected =
            quiet ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"notification 103", L"notification 105"};
        EXPECT_EQ(shown.log, expected);
    }
    EXPECT_TRUE(gameCenter.nothingStarted());
}

}  // namespace
