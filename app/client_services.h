// Everything the launcher client asks of the system: finding the game center, starting processes,
// reading its job's limits, the uninstall event and wait, and showing windows. Tests replace members
// to decide each answer in-process, or to reach what the test machine cannot produce (an elevation
// demand, a job that allows breakaway) and to see windows without a display.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/uninstall_event.h"
#include "app/uninstall_wait.h"
#include "discovery/game_center_version.h"
#include "discovery/trust_rule.h"
#include "errors/result_codes.h"
#include "libraries/system/win32/process_start.h"
#include "libraries/system/win32/unique_resource.h"

namespace ZGC {

struct ClientServices {
    // Discovery: the one lookup of an operation and its verdict; what it found stays held until the start.
    std::function<Discovery::DiscoveredGameCenter()> discoverGameCenter;

    // The ordinary start of the game center found, with the argument text, in its own folder.
    std::function<bool(const std::wstring& gameCenterPath, const std::wstring& argumentText, DWORD& startError)>
        launchProcess;
    std::function<void(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters, const wchar_t* directory,
                       int showCommand, System::Win32::UniqueHandle& process)>
        shellExecuteRunAs;

    // The uninstall: its job's limits, its event, its start and its wait.
    std::function<std::optional<DWORD>()> jobLimitFlags;
    std::function<UninstallEvent(const std::wstring& name)> createUninstallEvent;
    std::function<System::Win32::ProcessStart(const std::wstring& path, const std::wstring& commandLine,
                                              DWORD creationFlags, const std::wstring& workingFolder)>
        startProcess;
    std::function<UninstallWait(HANDLE process, HANDLE uninstallEvent)> waitForUninstall;

    // Windows.
    std::function<void(std::int32_t code)> showNotification;
    std::function<void()> showOutdatedNotification;
    std::function<void(const std::wstring& message)> showStartFailure;
};

// Whether this process runs with administrator rights, asked of its token once.
bool RunsWithAdministratorRights();

// The real ones, for this process's rights: the lookups find only a game center that no one but the
// accounts the run trusts can have planted or changed (Discovery::TrustRuleForRun).
ClientServices SystemClientServices();
// The same with the rule given: how tests show what a run trusts. The client itself never widens its rule.
ClientServices SystemClientServices(bool administratorRights, Discovery::TrustRule rule);

}  // namespace ZGC
