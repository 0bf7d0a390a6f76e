#include "stand_in_game_center.h"

#include <shellapi.h>

#include <stdexcept>

#include "support/test_paths.h"
#include "support/trust_seam.h"

namespace E2e {

namespace {

constexpr wchar_t kLogVariable[] = L"TGC_FIXTURE_LOG";
constexpr wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kCommonAppData[] = L"Common AppData";

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

ScopedUnresolvableProgramData::ScopedUnresolvableProgramData()
{
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShellFoldersKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key_.put()) !=
        ERROR_SUCCESS)
        throw std::runtime_error("the shell folders key does not open");
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegQueryValueExW(key_.get(), kCommonAppData, nullptr, &type_, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS)
        saved_.emplace(buffer, size / sizeof(wchar_t));
    set(REG_EXPAND_SZ, std::wstring(L"Q:\\nowhere") + L'\0');
}

ScopedUnresolvableProgramData::~ScopedUnresolvableProgramData()
{
    if (saved_)
        set(type_, *saved_);
    else
        RegDeleteValueW(key_.get(), kCommonAppData);
}

void ScopedUnresolvableProgramData::set(DWORD type, const std::wstring& data) const
{
    RegSetValueExW(key_.get(), kCommonAppData, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

ZGC::ClientServices RecordingServices(ShownWindows& shown, bool administratorRights, bool trustTestAccount)
{
    ZGC::ClientServices services =
        ZGC::SystemClientServices(administratorRights, TestSupport::TestRunRule(administratorRights, trustTestAccount));
    services.showNotification = [&shown](std::int32_t code) {
        shown.log.push_back(L"notification " + std::to_wstring(code));
    };
    services.showOutdatedNotification = [&shown] { shown.log.push_back(L"outdated notification"); };
    services.showStartFailure = [&shown](const std::wstring& message) {
        shown.log.push_back(L"message box: " + message);
    };
    return services;
}

}  // namespace E2e
