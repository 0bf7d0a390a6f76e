#include "stand_in_game_center.h"

#include <shellapi.h>

#include "support/test_paths.h"

namespace E2e {

namespace {

constexpr wchar_t kLogVariable[] = L"TGC_FIXTURE_LOG";

}  // namespace

StandInGameCenter::StandInGameCenter(const std::wstring& variant)
    : folder_(TestSupport::FixtureGameCenterFolder(variant)),
      executable_(TestSupport::FixtureGameCenterPath(variant)),
      logPath_(TestSupport::UniqueScratchPath(L"gc-starts", L"log")),
      pathFile_(folder_),
      logVariable_(kLogVariable, logPath_)
{
}

StandInGameCenter::~StandInGameCenter()
{
    DeleteFileW(logPath_.c_str());
}

std::vector<TestSupport::GameCenterRecord> StandInGameCenter::records() const
{
    return TestSupport::ReadGameCenterRecords(logPath_);
}

std::vector<TestSupport::GameCenterRecord> StandInGameCenter::waitForRecords(std::size_t count, DWORD timeoutMs) const
{
    return TestSupport::WaitForGameCenterRecords(logPath_, count, timeoutMs);
}

bool StandInGameCenter::nothingStarted(DWORD graceMs) const
{
    Sleep(graceMs);
    return records().empty();
}

StartLog::StartLog()
    : logPath_(TestSupport::UniqueScratchPath(L"gc-starts", L"log")), logVariable_(kLogVariable, logPath_)
{
}

StartLog::~StartLog()
{
    DeleteFileW(logPath_.c_str());
}

bool StartLog::nothingStarted(DWORD graceMs) const
{
    Sleep(graceMs);
    return TestSupport::ReadGameCenterRecords(logPath_).empty();
}

ZGC::ClientServices RecordingServices(ShownWindows& shown)
{
    ZGC::ClientServices services = ZGC::SystemClientServices();
    services.showNotification = [&shown](std::int32_t code) {
        shown.log.push_back(L"notification " + std::to_wstring(code));
    };
    services.showOutdatedNotification = [&shown] { shown.log.push_back(L"outdated notification"); };
    services.showStartFailure = [&shown](const std::wstring& message) {
        shown.log.push_back(L"message box: " + message);
    };
    return services;
}

std::vector<std::wstring> ArgvOf(const std::wstring& commandLine)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> tokens(argv, argv + (argv ? count : 0));
    LocalFree(argv);
    return tokens;
}

}  // namespace E2e
