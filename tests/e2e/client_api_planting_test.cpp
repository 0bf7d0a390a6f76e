// With administrator rights the client starts only a game center that no standard user can have planted
// or changed: each arrangement below offers one it must pass over, with a trusted one behind it in the
// machine's uninstall entry. Without administrator rights the first one is started, as always.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include <cstdio>
#include <optional>

#include "app/zgc_api_cli.h"
#include "libraries/system/win32/unique_resource.h"
#include "stand_in_game_center.h"
#include "support/test_paths.h"

namespace {

using E2e::ShownWindows;
using E2e::StandInGameCenter;
using TestSupport::FixtureGameCenterFolder;
using TestSupport::FixtureGameCenterPath;

constexpr wchar_t kPlanted[] = L"26.0.2.1046";  // what the arrangement offers first
constexpr wchar_t kTrusted[] = L"26.0.3.0";     // the machine entry behind it

// Lets Everyone change `path` for the scope (Wine turns that into the o+w mode bit), then takes it back.
class ScopedWritableByEveryone {
public:
    explicit ScopedWritableByEveryone(std::wstring path) : path_(std::move(path))
    {
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetNamedSecurityInfoW(path_.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                  nullptr, &descriptor) != ERROR_SUCCESS)
            throw std::runtime_error("the permissions do not read");
        saved_.reset(descriptor);
        savedDacl_ = dacl;
        EXPLICIT_ACCESSW everyone{};
        BuildExplicitAccessWithNameW(&everyone, const_cast<wchar_t*>(L"Everyone"), FILE_ALL_ACCESS, GRANT_ACCESS,
                                     NO_INHERITANCE);
        PACL widened = nullptr;
        if (SetEntriesInAclW(1, &everyone, dacl, &widened) != ERROR_SUCCESS)
            throw std::runtime_error("the permissions do not widen");
        const System::Win32::UniqueLocalMemory owner(widened);
        set(widened);
    }
    ~ScopedWritableByEveryone() { set(savedDacl_); }

private:
    void set(PACL dacl) const
    {
        SetNamedSecurityInfoW(const_cast<wchar_t*>(path_.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, dacl, nullptr);
    }

    std::wstring path_;
    System::Win32::UniqueLocalMemory saved_;
    PACL savedDacl_ = nullptr;
};

struct Arrangement {
    const char* name;
    // The path file's folder text (nullptr: no path file) and the current user's entry (nullptr: none).
    std::optional<std::wstring> pathFileFolder;
    std::optional<std::wstring> userEntry;
    std::optional<std::wstring> writableByEveryone;  // made world-writable for the case
    // Started without administrator rights (nullptr: none, the lookup ends at the untrusted source).
    const wchar_t* startedWithoutRights;
};

std::wstring StartedVariant(const std::vector<TestSupport::GameCenterRecord>& records)
{
    if (records.size() != 1)
        return L"(" + std::to_wstring(records.size()) + L" starts)";
    for (const wchar_t* variant : {kPlanted, kTrusted}) {
        if (records[0].commandLine.find(FixtureGameCenterFolder(variant) + L"\\tgc.exe") != std::wstring::npos)
            return variant;
    }
    return L"(elsewhere: " + records[0].commandLine + L")";
}

TEST(ClientApiPlanting, AdministratorRightsPassOverWhatAStandardUserCouldHavePlanted)
{
    const std::wstring planted = FixtureGameCenterFolder(kPlanted);
    const std::wstring pathFile = TestSupport::PathFilePath();
    const Arrangement arrangements[] = {
        {"path file anyone may write", planted, std::nullopt, pathFile, kPlanted},
        {"game center folder anyone may write", planted, std::nullopt, planted, kPlanted},
        {"tgc.exe anyone may write", planted, std::nullopt, planted + L"\\tgc.exe", kPlanted},
        {"path file in a Tarvo folder anyone may write", planted, std::nullopt,
         pathFile.substr(0, pathFile.find(L"\\GameCenter\\")), kPlanted},
        {"current user's entry naming a folder anyone may write", std::nullopt, planted + L"\\tgc.exe", planted,
         kPlanted},
        {"network path in the path file", L"\\\\server\\share\\Tarvo", std::nullopt, std::nullopt, nullptr},
        {"device path in the path file", L"\\\\?\\" + planted, std::nullopt, std::nullopt, kPlanted},
        {"relative path in the path file", L"gc_26.0.2.1046", std::nullopt, std::nullopt, nullptr},
    };
    const TestSupport::ScopedNoGameCenter nothing;
    const StandInGameCenter log(kPlanted);  // the path file it writes is replaced below; its log is kept
    const TestSupport::ScopedUninstallEntry machine(HKEY_LOCAL_MACHINE, FixtureGameCenterPath(kTrusted));
    for (const Arrangement& arrangement : arrangements) {
        for (const bool administratorRights : {true, false}) {
            SCOPED_TRACE(std::string(arrangement.name) + (administratorRights ? ", administrator" : ", standard"));
            std::optional<TestSupport::ScopedPathFile> pathFileText;
            if (arrangement.pathFileFolder)
                pathFileText.emplace(*arrangement.pathFileFolder);
            else
                TestSupport::SavedPathFile().remove();
            std::optional<TestSupport::ScopedUninstallEntry> user;
            if (arrangement.userEntry)
                user.emplace(HKEY_CURRENT_USER, *arrangement.userEntry);
            std::optional<ScopedWritableByEveryone> writable;
            if (arrangement.writableByEveryone)
                writable.emplace(*arrangement.writableByEveryone);

            const size_t before = log.records().size();
            ShownWindows shown;
            ZGC::ZGCApiCli client(L"C:\\Games\\Demo", true, E2e::RecordingServices(shown, administratorRights));
            const ResultCode result = client.Update();
            const auto records = log.waitForRecords(before + 1, 3000);
            const std::vector<TestSupport::GameCenterRecord> started(records.begin() + before, records.end());
            std::printf("%s, %s rights: started %ls\n", arrangement.name,
                        administratorRights ? "administrator" : "standard",
                        started.empty() ? L"nothing" : StartedVariant(started).c_str());
            const wchar_t* expected = administratorRights ? kTrusted : arrangement.startedWithoutRights;
            if (expected) {
                EXPECT_EQ(result, kResultSuccess);
                EXPECT_EQ(StartedVariant(started), expected);
            } else {
                EXPECT_EQ(result, kResultNotInstalled);
                EXPECT_TRUE(started.empty());
            }
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
