#include "start_timing.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <string>

#include "libraries/system/win32/unique_resource.h"
#include "support/standard_user_launch.h"

namespace Bench {

namespace {

constexpr wchar_t kStartedEvent[] = L"tgc_bench_game_center_started";

double ElapsedMs(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Percentile(const std::vector<double>& sorted, double fraction)
{
    const double position = fraction * static_cast<double>(sorted.size() - 1);
    const size_t below = static_cast<size_t>(position);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    const double weight = position - static_cast<double>(below);
    return sorted[below] * (1 - weight) + sorted[above] * weight;
}

}  // namespace

bool TimeStart(const std::wstring& program, const std::wstring& commandLine, unsigned long timeoutMs,
               bool sampleWorkingSet, TimedStart& result, std::wstring& error)
{
    System::Win32::UniqueHandle started(CreateEventW(nullptr, TRUE, FALSE, kStartedEvent));
    if (!started) {
        error = L"CreateEventW failed";
        return false;
    }
    ResetEvent(started.get());
    SetEnvironmentVariableW(L"TGC_FIXTURE_SET_EVENT", kStartedEvent);

    // Every program timed runs as a standard user, as players' launchers run the client: under Wine each
    // process is an administrator otherwise, whose client trusts no stand-in. Made before the clock starts.
    const System::Win32::UniqueHandle token = TestSupport::StandardUserToken();
    if (!token) {
        error = L"no standard user's token";
        return false;
    }
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    if (!CreateProcessAsUserW(token.get(), program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info)) {
        error = L"CreateProcessAsUserW failed for " + program;
        return false;
    }
    System::Win32::UniqueHandle thread(info.hThread);
    System::Win32::UniqueHandle process(info.hProcess);

    // Wine reports no memory counters for an ended process: sample them while it runs (only when
    // asked, since sampling costs time the start-up figures must not include).
    const auto sampleMemory = [&] {
        if (!sampleWorkingSet)
            return;
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(process.get(), &counters, sizeof(counters)))
            result.peakWorkingSet = std::max<unsigned long long>(
                {result.peakWorkingSet, counters.PeakWorkingSetSize, counters.WorkingSetSize});
    };
    DWORD waited = WAIT_TIMEOUT;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    if (!sampleWorkingSet)
        waited = WaitForSingleObject(started.get(), timeoutMs);
    while (waited == WAIT_TIMEOUT && GetTickCount64() < deadline) {
        sampleMemory();
        waited = WaitForSingleObject(started.get(), 1);
    }
    QueryPerformanceCounter(&after);
    if (waited != WAIT_OBJECT_0) {
        DWORD exitCode = STILL_ACTIVE;
        GetExitCodeProcess(process.get(), &exitCode);
        TerminateProcess(process.get(), 1);
        error =
            L"the game center did not start within the time-out (the program " +
            (exitCode == STILL_ACTIVE ? std::wstring(L"still ran") : L"had ended with " + std::to_wstring(exitCode)) +
            L")";
        return false;
    }
    result.milliseconds = ElapsedMs(before, after);
    while (WaitForSingleObject(process.get(), 1) == WAIT_TIMEOUT && GetTickCount64() < deadline)
        sampleMemory();
    GetExitCodeProcess(process.get(), &result.exitCode);
    return true;
}

Spread Summarise(std::vector<double> values)
{
    Spread spread;
    if (values.empty())
        return spread;
    std::sort(values.begin(), values.end());
    spread.median = Percentile(values, 0.5);
    spread.p25 = Percentile(values, 0.25);
    spread.p75 = Percentile(values, 0.75);
    spread.min = values.front();
    spread.max = values.back();
    return spread;
}

}  // namespace Bench
