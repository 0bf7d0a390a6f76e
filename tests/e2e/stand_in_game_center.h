// The stand-in game center installed for one test: the path file names the folder of one of its
// variants, and its starts are recorded into a log of the test's own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/client_services.h"
#include "libraries/system/win32/unique_resource.h"
#include "support/file_and_argv.h"
#include "support/game_center_record.h"
#include "support/machine_state.h"
#include "support/process_runner.h"

namespace E2e {

inline constexpr wchar_t kCurrentVersion[] = L"26.0.2.1046";

class StandInGameCenter {
public:
    // variant as built under <build>\fixtures, e.g. L"26.0.2.1046", L"26.0.2.1045", L"noversion".
    explicit StandInGameCenter(const std::wstring& variant = kCurrentVersion);
    ~StandInGameCenter();
    StandInGameCenter(const StandInGameCenter&) = delete;
    StandInGameCenter& operator=(const StandInGameCenter&) = delete;

    const std::wstring& executable() const { return executable_; }
    const std::wstring& folder() const { return folder_; }
    const std::wstring& logPath() const { return logPath_; }

    std::vector<TestSupport::GameCenterRecord> records() const;
    // At least `count` records, or what arrived within the time-out.
    std::vector<TestSupport::GameCenterRecord> waitForRecords(std::size_t count = 1, DWORD timeoutMs = 10000) const;
    // True when no start was recorded within a grace period long enough for a started game center to write.
    bool nothingStarted(DWORD graceMs = 1500) const;

private:
    std::wstring folder_;
    std::wstring executable_;
    std::wstring logPath_;
    TestSupport::ScopedPathFile pathFile_;
    TestSupport::ScopedEnvironmentVariable logVariable_;
};

// A log of its own for a test that has no game center installed, to prove nothing was started.
class StartLog {
public:
    StartLog();
    ~StartLog();
    const std::wstring& path() const { return logPath_; }
    bool nothingStarted(DWORD graceMs = 1500) const;

private:
    std::wstring logPath_;
    TestSupport::ScopedEnvironmentVariable logVariable_;
};

// Points the machine's common application-data folder at a drive that does not exist, so that the
// folder cannot be resolved; puts the setting back afterwards.
class ScopedUnresolvableProgramData {
public:
    ScopedUnresolvableProgramData();
    ~ScopedUnresolvableProgramData();
    ScopedUnresolvableProgramData(const ScopedUnresolvableProgramData&) = delete;
    ScopedUnresolvableProgramData& operator=(const ScopedUnresolvableProgramData&) = delete;

private:
    void set(DWORD type, const std::wstring& data) const;

    System::Win32::UniqueRegKey key_;
    DWORD type_ = REG_EXPAND_SZ;
    std::optional<std::wstring> saved_;
};

// The windows the launcher client would show, written down instead of shown.
struct ShownWindows {
    std::vector<std::wstring> log;
};

// The system's services with every window replaced by an entry in `shown`, for a run with these rights
// (this process's by default). With `trustTestAccount` the fixtures, which are the test account's, count as
// installed by a trusted account (see TestSupport::TestRunRule).
ZGC::ClientServices RecordingServices(ShownWindows& shown,
                                      bool administratorRights = ZGC::RunsWithAdministratorRights(),
                                      bool trustTestAccount = true);

// The command-line arguments a game center start received, as its own parser splits them.
using TestSupport::ArgvOf;

}  // namespace E2e
