// The log a run keeps with "--log FILE": what it holds for each source and each refusal, and that it is
// written only where asked, to a plain file of that name, never through a link.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "stand_in_game_center.h"
#include "libraries/system/win32/unique_resource.h"
#include "support/file_and_argv.h"
#include "support/game_center_record.h"
#include "support/machine_state.h"
#include "support/process_runner.h"
#include "support/scoped_writable.h"
#include "support/test_paths.h"

namespace {

using TestSupport::FixtureGameCenterFolder;
using TestSupport::FixtureGameCenterPath;

constexpr wchar_t kTrusted[] = L"26.0.3.0";
constexpr wchar_t kPlanted[] = L"26.0.2.1046";
constexpr wchar_t kEveryone[] = L"S-1-1-0";

std::string FileBytes(const std::wstring& path)
{
    return TestSupport::ReadFileBytes(path).value_or("");
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    const System::Win32::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

// One run: where the sources point, what is made writable by everyone, and the facts its log must hold.
struct LogCase {
    const wchar_t* operation;
    std::optional<std::wstring> pathFileFolder;  // nothing: no path file
    std::optional<std::wstring> machineEntry;    // nothing: no entry
    std::vector<std::wstring> writableByEveryone;
    std::vector<std::wstring> facts;
    bool starts = false;  // the started process's id is in the log too
};

struct LogRow {
    const char* name;
    LogCase (*make)();
};

std::wstring PathFileText(const std::wstring& folder)
{
    return folder;  // the path file holds the folder as it is (ASCII here), and the log shows those bytes
}

const LogRow kLogRows[] = {
    {"PathFile",
     [] {
         return LogCase{L"--update",
                        FixtureGameCenterFolder(kTrusted),
                        std::nullopt,
                        {},
                        {TestSupport::PathFilePath(), PathFileText(FixtureGameCenterFolder(kTrusted)), kTrusted,
                         L"--update", L"0x00000000"},
                        true};
     }},
    {"MachineEntry",
     [] {
         return LogCase{L"--verify-integrity",
                        std::nullopt,
                        FixtureGameCenterPath(kTrusted) + L",0",
                        {},
                        {FixtureGameCenterPath(kTrusted) + L",0", kTrusted, L"--verify-integrity", L"0x00000000"},
                        true};
     }},
    {"PathFileAnyoneMayWrite",
     [] {
         return LogCase{L"--update",
                        FixtureGameCenterFolder(kPlanted),
                        FixtureGameCenterPath(kTrusted),
                        {TestSupport::PathFilePath()},
                        {TestSupport::PathFilePath(), kEveryone, kTrusted, L"0x00000000"},
                        true};
     }},
    {"GameCenterFolderAnyoneMayWrite",
     [] {
         return LogCase{L"--update",
                        FixtureGameCenterFolder(kPlanted),
                        FixtureGameCenterPath(kTrusted),
                        {FixtureGameCenterFolder(kPlanted)},
                        {FixtureGameCenterFolder(kPlanted), kEveryone, FixtureGameCenterPath(kTrusted), L"0x00000000"},
                        true};
     }},
    {"EntryNamingAnotherProgram",
     [] {
         return LogCase{L"--quiet",
                        std::nullopt,
                        L"C:\\windows\\notepad.exe,0",
                        {},
                        {L"C:\\windows\\notepad.exe,0", L"0x80EE0002"}};
     }},
    {"NothingInstalled",
     [] {
         return LogCase{L"--quiet --update", std::nullopt, std::nullopt, {}, {L"--quiet", L"0x80EE0002"}};
     }},
    {"Outdated",
     [] {
         return LogCase{
             L"--quiet", FixtureGameCenterFolder(L"26.0.2.1045"), std::nullopt, {}, {L"26.0.2.1045", L"0x80EE000C"}};
     }},
    {"Uninstall",
     [] {
         return LogCase{L"--quiet --uninstall",
                        FixtureGameCenterFolder(kTrusted),
                        std::nullopt,
                        {},
                        {L"--uninstall", L"0x00000001"},
                        true};
     }},
};

class ClientRunLog : public ::testing::TestWithParam<LogRow> {};

TEST_P(ClientRunLog, HoldsTheFactsOfTheRun)
{
    const LogCase c = GetParam().make();
    const TestSupport::ScopedNoGameCenter nothing;
    const E2e::StartLog starts;
    std::optional<TestSupport::ScopedPathFile> pathFile;
    if (c.pathFileFolder)
        pathFile.emplace(*c.pathFileFolder);
    std::optional<TestSupport::ScopedUninstallEntry> entry;
    if (c.machineEntry)
        entry.emplace(HKEY_LOCAL_MACHINE, *c.machineEntry);
    std::vector<std::unique_ptr<TestSupport::ScopedWritableByEveryone>> writable;
    for (const std::wstring& path : c.writableByEveryone)
        writable.push_back(std::make_unique<TestSupport::ScopedWritableByEveryone>(path));

    const std::wstring logFile = TestSupport::UniqueScratchPath(L"run", L"log");
    EXPECT_EQ(TestSupport::RunClient(std::wstring(c.operation) + L" --log \"" + logFile + L"\""), 0u);
    const std::string bytes = FileBytes(logFile);
    DeleteFileW(logFile.c_str());
    const std::wstring log = TestSupport::Utf8ToWide(bytes);
    std::printf("%s", bytes.c_str());  // what a support engineer would get
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    // The client's version and its command line come first.
    const std::wstring firstLine = log.substr(0, log.find(L'\n'));
    EXPECT_NE(firstLine.find(L"26.0.2.1046"), std::wstring::npos) << firstLine;
    EXPECT_NE(firstLine.find(logFile), std::wstring::npos) << firstLine;
    for (const std::wstring& fact : c.facts)
        EXPECT_NE(log.find(fact), std::wstring::npos) << TestSupport::WideToUtf8(fact) << "\n" << bytes;
    if (c.starts) {
        const auto records = TestSupport::WaitForGameCenterRecords(starts.path(), 1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_NE(log.find(std::to_wstring(records[0].processId)), std::wstring::npos) << bytes;
    }
}

INSTANTIATE_TEST_SUITE_P(PerSourceAndRefusal, ClientRunLog, ::testing::ValuesIn(kLogRows),
                         [](const ::testing::TestParamInfo<LogRow>& info) { return std::string(info.param.name); });

// Where a log must not be written: the file the switch names is left exactly as it was (or absent).
struct RefusedPlace {
    const char* name;
    const wchar_t* arguments;  // %L stands for the file
    std::wstring file;
    std::optional<std::string> before;  // nothing: no file there beforehand, and none after
    std::wstring linkTarget;            // a hard link made to this file, when not empty
    std::wstring watched;               // the file that must stay as it was (the file itself when empty)
};

TEST(ClientRunLogPlaces, WritesOnlyToAPlainFileOfItsOwnName)
{
    const std::wstring links = TestSupport::BuildDir() + L"\\log_links";
    const std::wstring hardTarget = TestSupport::UniqueScratchPath(L"hard-target", L"log");
    const std::wstring full = TestSupport::UniqueScratchPath(L"full", L"log");
    const std::string fullBytes(1024 * 1024, 'x');
    const RefusedPlace places[] = {
        {"a switch spelt otherwise", L"--quiet --Log \"%L\"", TestSupport::UniqueScratchPath(L"other", L"log"),
         std::nullopt, L"", L""},
        {"a hard link to another file", L"--quiet --log \"%L\"", TestSupport::UniqueScratchPath(L"hard", L"log"),
         std::string("before\r\n"), hardTarget, hardTarget},
        {"a symbolic link to a file", L"--quiet --log \"%L\"", links + L"\\to_a_file.log", std::string("before\r\n"),
         L"", links + L"\\target.log"},
        {"a symbolic link to nothing", L"--quiet --log \"%L\"", links + L"\\to_nothing.log", std::nullopt, L"",
         links + L"\\absent.log"},
        {"a file past the size cap", L"--quiet --log \"%L\"", full, fullBytes, L"", L""},
    };
    const TestSupport::ScopedNoGameCenter nothing;
    for (const RefusedPlace& place : places) {
        SCOPED_TRACE(place.name);
        const std::wstring watched = place.watched.empty() ? place.file : place.watched;
        DeleteFileW(watched.c_str());
        if (place.before)
            WriteBytes(watched, *place.before);
        if (!place.linkTarget.empty()) {
            ASSERT_TRUE(CreateHardLinkW(place.file.c_str(), place.linkTarget.c_str(), nullptr));
        }
        std::wstring arguments = place.arguments;
        if (const size_t at = arguments.find(L"%L"); at != std::wstring::npos)
            arguments.replace(at, 2, place.file);

        EXPECT_EQ(TestSupport::RunClient(arguments), 0u);
        if (place.before) {
            EXPECT_EQ(FileBytes(watched), *place.before);
        } else {
            EXPECT_FALSE(Exists(watched));
        }
        DeleteFileW(watched.c_str());
        if (!place.linkTarget.empty())
            DeleteFileW(place.file.c_str());
    }
}

// The one place it writes: a plain file, appended to (never emptied first), and made when absent.
TEST(ClientRunLogPlaces, AppendsToAPlainFile)
{
    const TestSupport::ScopedNoGameCenter nothing;
    const std::wstring file = TestSupport::UniqueScratchPath(L"plain", L"log");
    ASSERT_EQ(TestSupport::RunClient(L"--quiet --log \"" + file + L"\""), 0u);
    const std::string first = FileBytes(file);
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(TestSupport::RunClient(L"--quiet --log \"" + file + L"\" --log \"" + file + L".second\""), 0u);
    const std::string both = FileBytes(file);
    DeleteFileW(file.c_str());
    EXPECT_EQ(both.compare(0, first.size(), first), 0);
    EXPECT_GT(both.size(), first.size());
    EXPECT_FALSE(Exists(file + L".second"));  // the first switch wins
}

}  // namespace
