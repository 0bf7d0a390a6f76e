// Start-up cost of the client against the floor of a bare CreateProcessW launcher, its size and
// peak working set, and whether any operation leaves handles behind.
// Usage: bench_driver.exe [runs]   (run by scripts/bench inside a prefix of its own)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/zgc_api_cli.h"
#include "start_timing.h"
#include "support/game_center_record.h"
#include "support/machine_state.h"
#include "support/test_paths.h"

namespace {

constexpr DWORD kTimeoutMs = 15000;
const std::wstring kGameFolder = L"C:\\Games\\Bench";

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

unsigned long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void PrintSpread(const char* label, const Bench::Spread& s)
{
    std::printf("%-34s median %7.1f ms   p25 %7.1f   p75 %7.1f   min %7.1f   max %7.1f\n", label, s.median, s.p25,
                s.p75, s.min, s.max);
}

// Open kernel handles of this process. Wine answers GetProcessHandleCount with 0, so the handle
// table is probed instead: every value that GetHandleInformation accepts is an open handle.
DWORD HandleCount()
{
    DWORD count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

// Runs each operation of the launcher client in this process, quietly, and compares the process's
// handle count before the first and after the last of several rounds.
bool ReportHandleCounts()
{
    using Operation = std::function<ResultCode(ZGC::ZGCApiCli&)>;
    const std::vector<std::pair<const char*, Operation>> operations = {
        {"open", [](ZGC::ZGCApiCli& c) { return c.Open(); }},
        {"update", [](ZGC::ZGCApiCli& c) { return c.Update(); }},
        {"verify", [](ZGC::ZGCApiCli& c) { return c.VerifyIntegrity(); }},
        {"change client type", [](ZGC::ZGCApiCli& c) { return c.ChangeClientType(L"beta"); }},
        {"install", [](ZGC::ZGCApiCli& c) { return c.Install(L"package"); }},
        {"uninstall", [](ZGC::ZGCApiCli& c) { return c.Uninstall(); }},
    };
    constexpr int kRounds = 5;
    bool grew = false;
    std::printf("\nhandle count of a process running each operation %d times (quiet, game center installed):\n",
                kRounds);
    for (const auto& [name, operation] : operations) {
        {  // one round first, so lazily created system objects are not counted as growth
            ZGC::ZGCApiCli warmUp(kGameFolder, true);
            operation(warmUp);
        }
        const DWORD before = HandleCount();
        ResultCode last = 0;
        for (int round = 0; round < kRounds; ++round) {
            ZGC::ZGCApiCli client(kGameFolder, true);
            last = operation(client);
        }
        const DWORD after = HandleCount();
        grew = grew || after > before;
        std::printf("  %-20s before %4lu   after %4lu   %s   (result 0x%08lX)\n", name, before, after,
                    after > before ? "GREW" : "no growth", static_cast<unsigned long>(last));
    }
    return !grew;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    const std::wstring client = TestSupport::ClientExePath();
    const std::wstring launcher = TestSupport::BuildDir() + L"\\bin\\bare_launcher.exe";
    const std::wstring gameCenter = TestSupport::FixtureGameCenterPath(L"26.0.2.1046");
    const TestSupport::ScopedPathFile installed(TestSupport::FixtureGameCenterFolder(L"26.0.2.1046"));

    const std::wstring clientLine = Quoted(client) + L" --update --target-game-folder " + Quoted(kGameFolder);
    const std::wstring launcherLine = Quoted(launcher) + L" " + Quoted(gameCenter) + L" --target-game-folder " +
                                      Quoted(kGameFolder) + L" --update -d " + Quoted(kGameFolder);

    std::vector<double> clientTimes, launcherTimes;
    unsigned long long peakWorkingSet = 0;
    for (int run = 0; run < runs + 1; ++run) {  // run 0 warms the caches and is not counted
        Bench::TimedStart timed;
        std::wstring error;
        // Alternate the two so that drifts of the machine hit both alike.
        if (!Bench::TimeStart(client, clientLine, kTimeoutMs, false, timed, error)) {
            std::fprintf(stderr, "client run %d: %ls\n", run, error.c_str());
            return 1;
        }
        if (run > 0)
            clientTimes.push_back(timed.milliseconds);
        if (!Bench::TimeStart(launcher, launcherLine, kTimeoutMs, false, timed, error)) {
            std::fprintf(stderr, "launcher run %d: %ls\n", run, error.c_str());
            return 1;
        }
        if (run > 0)
            launcherTimes.push_back(timed.milliseconds);
    }
    unsigned long long launcherPeakWorkingSet = 0;
    for (int run = 0; run < 5; ++run) {
        // A record of its own for each program: the sampled peak only ever grows.
        Bench::TimedStart sampledClient, sampledLauncher;
        std::wstring error;
        if (Bench::TimeStart(client, clientLine, kTimeoutMs, true, sampledClient, error))
            peakWorkingSet = std::max(peakWorkingSet, sampledClient.peakWorkingSet);
        if (Bench::TimeStart(launcher, launcherLine, kTimeoutMs, true, sampledLauncher, error))
            launcherPeakWorkingSet = std::max(launcherPeakWorkingSet, sampledLauncher.peakWorkingSet);
    }
    SetEnvironmentVariableW(L"TGC_FIXTURE_SET_EVENT", nullptr);

    const Bench::Spread clientSpread = Bench::Summarise(clientTimes);
    const Bench::Spread launcherSpread = Bench::Summarise(launcherTimes);
    std::printf("time from process start to the game center running, %d runs each:\n", runs);
    PrintSpread("  tgc_client.exe --update", clientSpread);
    PrintSpread("  bare CreateProcessW launcher", launcherSpread);
    std::printf("  ratio of medians (client / floor): %.2f\n", clientSpread.median / launcherSpread.median);
    std::printf("\ntgc_client.exe size on disk: %llu bytes\n", FileSize(client));
    std::printf("tgc_client.exe peak working set: %llu KiB%s\n", peakWorkingSet / 1024,
                peakWorkingSet == 0 ? " (not reported by this system)" : "");
    std::printf("bare launcher peak working set:  %llu KiB\n", launcherPeakWorkingSet / 1024);
    const double memoryRatio =
        launcherPeakWorkingSet == 0 ? 0 : static_cast<double>(peakWorkingSet) / launcherPeakWorkingSet;
    std::printf("  ratio of peak working sets (client / floor): %.2f\n", memoryRatio);
    // One line for scripts/bench's side-by-side table.
    std::printf("summary\t%.1f\t%.1f\t%.2f\t%llu\t%llu\t%.2f\t%llu\n", clientSpread.median, launcherSpread.median,
                clientSpread.median / launcherSpread.median, peakWorkingSet / 1024, launcherPeakWorkingSet / 1024,
                memoryRatio, FileSize(client));
    return ReportHandleCounts() ? 0 : 2;
}
