// The stand-in game center itself: its version resources and what it records when started.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/game_center_version.h"
#include "libraries/system/win32/unique_resource.h"
#include "support/game_center_record.h"
#include "support/test_paths.h"

namespace {

using System::Win32::UniqueHandle;
using TestSupport::FixtureGameCenterFolder;
using TestSupport::FixtureGameCenterPath;
using TestSupport::ReadGameCenterRecords;

// Sets a variable the started game center inherits; puts back the previous value (or its absence).
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name)
    {
        const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
        if (size > 0) {
            previous_.resize(size);
            previous_.resize(GetEnvironmentVariableW(name, previous_.data(), size));
            hadPrevious_ = true;
        }
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(name_, hadPrevious_ ? previous_.c_str() : nullptr); }

private:
    const wchar_t* name_;
    std::wstring previous_;
    bool hadPrevious_ = false;
};

class ScopedLog {
public:
    explicit ScopedLog(const wchar_t* name) : path_(TestSupport::ScratchDir() + L"\\" + name)
    {
        DeleteFileW(path_.c_str());
    }
    ~ScopedLog() { DeleteFileW(path_.c_str()); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

struct Started {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD processId = 0;
};

Started Start(const std::wstring& exe, std::wstring commandLine, const std::wstring& directory, DWORD flags = 0)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    Started started;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, directory.c_str(),
                        &startup, &info)) {
        ADD_FAILURE() << "CreateProcessW failed with " << GetLastError();
        return started;
    }
    started.thread.reset(info.hThread);
    started.process.reset(info.hProcess);
    started.processId = info.dwProcessId;
    return started;
}

DWORD WaitForExit(const Started& started)
{
    EXPECT_EQ(WaitForSingleObject(started.process.get(), 30000), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(started.process.get(), &code);
    return code;
}

TEST(FixtureGameCenter, EachVariantCarriesItsFileVersion)
{
    for (const wchar_t* variant : {L"26.0.2.1046", L"26.0.2.1045", L"26.0.3.0", L"27.0.0.0", L"0.0.0.1", L"0.0.0.2"})
        EXPECT_EQ(Discovery::ReadFileVersionText(FixtureGameCenterPath(variant), L"none"), variant);
    EXPECT_EQ(Discovery::ReadFileVersionText(FixtureGameCenterPath(L"noversion"), L"0.0.0.0"), L"0.0.0.0");
    EXPECT_EQ(Discovery::ReadFileVersionText(FixtureGameCenterPath(L"noversion"), L"none"), L"none");
    EXPECT_EQ(Discovery::ReadFileVersionText(FixtureGameCenterFolder(L"26.0.2.1046") + L"\\missing.exe", L"none"),
              L"none");
}

TEST(FixtureGameCenter, RecordsItsCommandLineDirectoryAndProcess)
{
    ScopedLog log(L"fixture_record.log");
    ScopedEnvironment logVariable(L"TGC_FIXTURE_LOG", log.path());
    const std::wstring exe = FixtureGameCenterPath(L"26.0.2.1046");
    const std::wstring directory = TestSupport::ScratchDir();
    const std::wstring commandLines[] = {
        L"\"" + exe + L"\" --update -d \"C:\\Games\\My Game\\\"",
        L"\"" + exe + L"\" tab\there \"quote\\\"inside\" cr\rlf\nend \\\\ back\\slash",
        L"\"" + exe + L"\" \u00e9\u0416 \U0001F3AE lone\xD800 surrogate \x7F\x01",
        L"tgc",
    };
    std::vector<DWORD> ids;
    for (const std::wstring& commandLine : commandLines) {
        const Started started = Start(exe, commandLine, directory);
        ASSERT_TRUE(started.process.valid());
        EXPECT_EQ(WaitForExit(started), 0u);
        ids.push_back(started.processId);
    }

    BOOL selfInJob = FALSE;
    IsProcessInJob(GetCurrentProcess(), nullptr, &selfInJob);
    const auto records = ReadGameCenterRecords(log.path());
    ASSERT_EQ(records.size(), std::size(commandLines));
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].commandLine, commandLines[i]) << i;
        EXPECT_EQ(records[i].currentDirectory, directory) << i;
        EXPECT_EQ(records[i].processId, ids[i]) << i;
        EXPECT_EQ(records[i].inJob, selfInJob != FALSE) << i;
    }
}

TEST(FixtureGameCenter, RecordsThatItRunsInAJob)
{
    ScopedLog log(L"fixture_job.log");
    ScopedEnvironment logVariable(L"TGC_FIXTURE_LOG", log.path());
    const UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    ASSERT_TRUE(job.valid());
    const std::wstring exe = FixtureGameCenterPath(L"noversion");
    const Started started = Start(exe, L"tgc", TestSupport::ScratchDir(), CREATE_SUSPENDED);
    ASSERT_TRUE(started.process.valid());
    ASSERT_TRUE(AssignProcessToJobObject(job.get(), started.process.get()));
    ResumeThread(started.thread.get());
    EXPECT_EQ(WaitForExit(started), 0u);
    const auto records = ReadGameCenterRecords(log.path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].inJob);
}

TEST(FixtureGameCenter, SetsTheEventThenStaysAsLongAsAsked)
{
    ScopedLog log(L"fixture_event.log");
    ScopedEnvironment logVariable(L"TGC_FIXTURE_LOG", log.path());
    const std::wstring eventName = L"tgc_fixture_test_event";
    const UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    ASSERT_TRUE(event.valid());
    ScopedEnvironment eventVariable(L"TGC_FIXTURE_SET_EVENT", eventName);
    ScopedEnvironment waitVariable(L"TGC_FIXTURE_WAIT_MS", L"1500");

    const Started started = Start(FixtureGameCenterPath(L"26.0.2.1046"), L"tgc", TestSupport::ScratchDir());
    ASSERT_TRUE(started.process.valid());
    const HANDLE both[] = {started.process.get(), event.get()};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 30000), WAIT_OBJECT_0 + 1) << "the event comes first";
    EXPECT_EQ(ReadGameCenterRecords(log.path()).size(), 1u) << "recorded before signalling";
    EXPECT_EQ(WaitForSingleObject(started.process.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT)) << "still waiting";
    EXPECT_EQ(WaitForExit(started), 0u);
}

TEST(FixtureGameCenter, InstancesRunningTogetherEachAppendOneRecord)
{
    ScopedLog log(L"fixture_parallel.log");
    ScopedEnvironment logVariable(L"TGC_FIXTURE_LOG", log.path());
    std::vector<Started> running;
    for (int i = 0; i < 6; ++i)
        running.push_back(Start(FixtureGameCenterPath(L"27.0.0.0"),
                                L"tgc " + std::to_wstring(i) + L" " + std::wstring(2000, L'x'),
                                TestSupport::ScratchDir()));
    for (const Started& started : running)
        EXPECT_EQ(WaitForExit(started), 0u);
    const auto records = ReadGameCenterRecords(log.path());
    ASSERT_EQ(records.size(), running.size());
    std::vector<bool> seen(running.size());
    for (const auto& record : records) {
        ASSERT_EQ(record.commandLine.size(), 4u + 1 + 1 + 2000);  // "tgc ", digit, blank, filler
        seen[record.commandLine[4] - L'0'] = true;
    }
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_TRUE(seen[i]) << i;
}

}  // namespace
