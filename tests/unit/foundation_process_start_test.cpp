// The one process start: in the folder given, or in ours when none is; the reason when it fails.
#include <windows.h>

#include <gtest/gtest.h>

#include "libraries/system/win32/process_start.h"
#include "support/game_center_record.h"
#include "support/process_runner.h"
#include "support/test_paths.h"

namespace {

using System::Win32::ProcessStart;
using System::Win32::StartProcess;

TEST(StartProcess, RunsTheProgramInTheFolderGivenOrInOursWhenNoneIs)
{
    const std::wstring logPath = TestSupport::UniqueScratchPath(L"process-start", L"log");
    const TestSupport::ScopedEnvironmentVariable log(L"TGC_FIXTURE_LOG", logPath);
    const std::wstring program = TestSupport::FixtureGameCenterPath(L"26.0.2.1046");
    wchar_t ours[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, ours), 0u);
    const std::wstring scratch = TestSupport::ScratchDir();

    const struct {
        std::wstring folder;
        std::wstring expected;
    } cases[] = {{scratch, scratch}, {L"", ours}};
    std::size_t count = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(c.folder));
        const ProcessStart started = StartProcess(program, L"\"" + program + L"\" --open", 0, c.folder);
        ASSERT_TRUE(started.process);
        EXPECT_EQ(started.error, 0u);
        EXPECT_EQ(WaitForSingleObject(started.process.get(), 10000), WAIT_OBJECT_0);
        const auto records = TestSupport::WaitForGameCenterRecords(logPath, ++count, 10000);
        ASSERT_EQ(records.size(), count);
        EXPECT_EQ(records.back().currentDirectory, c.expected);
        EXPECT_EQ(records.back().commandLine, L"\"" + program + L"\" --open");
        EXPECT_EQ(records.back().processId, GetProcessId(started.process.get()));
    }
    DeleteFileW(logPath.c_str());
}

TEST(StartProcess, AFailedStartGivesTheSystemsReasonAndNoProcess)
{
    const std::wstring missing = TestSupport::ScratchDir() + L"\\missing.exe";
    const ProcessStart started = StartProcess(missing, L"\"" + missing + L"\"", 0, L"");
    EXPECT_FALSE(started.process);
    EXPECT_EQ(started.error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    const std::wstring program = TestSupport::FixtureGameCenterPath(L"26.0.2.1046");
    const ProcessStart inMissingFolder =
        StartProcess(program, L"\"" + program + L"\"", 0, TestSupport::ScratchDir() + L"\\no such folder");
    EXPECT_FALSE(inMissingFolder.process);
    EXPECT_NE(inMissingFolder.error, 0u);
}

}  // namespace
