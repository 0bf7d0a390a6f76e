// Known folders: the path Windows gives, and the logged failure that names the folder.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "libraries/system/win32/known_paths_win.h"
#include "support/log_capture.h"
#include "support/test_paths.h"

namespace {

namespace KnownPaths = System::Env::KnownPaths;

// Not a folder Windows knows.
constexpr KNOWNFOLDERID kUnknownFolder = {0x0badf01d, 0x1234, 0x5678, {0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}};
constexpr char kUnknownFolderText[] = "{0BADF01D-1234-5678-9ABC-DEF012345678}";

TEST(KnownPaths, ProgramDataIsTheFolderWindowsGives)
{
    EXPECT_EQ(KnownPaths::GetKnownFolder(FOLDERID_ProgramData), L"C:\\ProgramData");
    const System::FsPath folder = KnownPaths::ProgramDataFolder();
    EXPECT_EQ(folder.raw(), L"C:\\ProgramData");
    EXPECT_EQ(folder.text(), L"C:\\ProgramData");
}

TEST(KnownPaths, DisplayNameNamesTableFoldersAndAlwaysTheIdentifier)
{
    const struct {
        const KNOWNFOLDERID* id;
        std::string name;
    } cases[] = {
        {&FOLDERID_Desktop, "FOLDERID_Desktop {B4BFCC3A-DB2C-424C-B029-7FE99A87C641}"},
        {&FOLDERID_System, "FOLDERID_System {1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}"},
        {&FOLDERID_SystemX86, "FOLDERID_SystemX86 {D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}"},
        {&FOLDERID_Programs, "FOLDERID_Programs {A77F5D77-2E2B-44C3-A6A2-ABA601054A51}"},
        {&FOLDERID_ProgramData, "FOLDERID_ProgramData {62AB5D82-FDC1-4DC3-A9DD-070D1D495D97}"},
        {&FOLDERID_RoamingAppData, "FOLDERID_RoamingAppData {3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}"},
        {&FOLDERID_Windows, "{F38BF404-1D43-42F2-9305-67DE0B28FC23}"},
        {&kUnknownFolder, kUnknownFolderText},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KnownPaths::KnownFolderDisplayName(*c.id), c.name);
}

TEST(KnownPaths, AFailedLookupThrowsTheNamedFailureCausedByTheLastError)
{
    LogCapture capture;
    bool thrown = false;
    try {
        SetLastError(ERROR_ACCESS_DENIED);
        KnownPaths::GetKnownFolder(kUnknownFolder);
    } catch (const KnownPaths::Errors::Failed& error) {
        thrown = true;
        EXPECT_EQ(error.name(), "Error.KnownPaths.Failed");
        EXPECT_EQ(error.fullName(), "Error.KnownPaths.Failed+Error.System.AccessDenied");
        const std::string what = error.what();
        const std::string head =
            std::string("[Error.KnownPaths.Failed] Failed to get known folder for ") + kUnknownFolderText + ": ";
        EXPECT_EQ(what.substr(0, head.size()), head) << what;
        EXPECT_NE(what.find("\r\n+ [Error.System.AccessDenied] "), std::string::npos) << what;
        EXPECT_EQ(what.substr(what.size() - 4), " (5)") << what;

        const auto records = capture.records(5);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].text, TestSupport::Utf8ToWide(what));
        EXPECT_STREQ(records[0].location.file, "win32\\known_paths_win");
        EXPECT_EQ(records[0].location.line, 71);
        EXPECT_EQ(records[0].location.processId, GetCurrentProcessId());
        EXPECT_EQ(records[0].location.threadId, GetCurrentThreadId());
        EXPECT_GT(records[0].location.time, 0);
    }
    EXPECT_TRUE(thrown);
}

TEST(KnownPaths, TheFailureIsCaughtAsTheFamilyRootAndKeepsItsTypeThroughClones)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        KnownPaths::GetKnownFolder(kUnknownFolder);
        FAIL() << "no failure";
    } catch (const KnownPaths::Errors::Base& error) {
        EXPECT_EQ(error.fullName(), "Error.KnownPaths.Failed+Error.System.FileNotFound");
        EXPECT_NE(dynamic_cast<const KnownPaths::Errors::Failed*>(&error), nullptr);
        const auto copy = error.clone();
        EXPECT_EQ(copy->fullName(), error.fullName());
        EXPECT_THROW(copy->raise(), KnownPaths::Errors::Failed);
    }
}

TEST(KnownPaths, WithoutALogCoreTheFailureIsStillThrown)
{
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_THROW(KnownPaths::GetKnownFolder(kUnknownFolder), KnownPaths::Errors::Failed);
}

}  // namespace
