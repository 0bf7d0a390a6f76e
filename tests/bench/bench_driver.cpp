// Start-up cost of the client against two floors that start the same game center (a bare
// CreateProcessW launcher, and one that also makes the lookups the client must make), its size,
// the peak working sets, and whether any operation leaves handles behind.
// Usage: bench_driver.exe [runs]   (run by scripts/bench inside a prefix of its own)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
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

// One program measured: how it is started and what it gave.
struct Contender {
    Contender(const char* label, std::wstring program, std::wstring commandLine)
        : label(label), program(std::move(program)), commandLine(std::move(commandLine))
    {
    }
    const char* label;
    std::wstring program, commandLine;
    std::vector<double> times;
    unsigned long long peakWorkingSet = 0;
    Bench::Spread spread;
};

double Ratio(double numerator, double denominator)
{
    return denominator == 0 ? 0 : numerator / denominator;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    const std::wstring client = TestSupport::ClientExePath();
    const std::wstring bin = TestSupport::BuildDir() + L"\\bin\\";
    const std::wstring gameCenter = TestSupport::FixtureGameCenterPath(L"26.0.2.1046");
    const TestSupport::ScopedPathFile installed(TestSupport::FixtureGameCenterFolder(L"26.0.2.1046"));

    // What the game center receives for --update; the same-work floor finds the game center itself.
    const std::wstring received =
        L" --target-game-folder " + Quoted(kGameFolder) + L" --update -d " + Quoted(kGameFolder);
    std::vector<Contender> contenders = {
        {"  tgc_client.exe --update", client,
         Quoted(client) + L" --update --target-game-folder " + Quoted(kGameFolder)},
        {"  same-work launcher", bin + L"same_work_launcher.exe", Quoted(bin + L"same_work_launcher.exe") + received},
        {"  bare CreateProcessW launcher", bin + L"bare_launcher.exe",
         Quoted(bin + L"bare_launcher.exe") + L" " + Quoted(gameCenter) + received},
    };
    Contender& theClient = contenders[0];
    const Contender& sameWork = contenders[1];
    const Contender& bare = contenders[2];

    for (int run = 0; run < runs + 1; ++run) {  // run 0 warms the caches and is not counted
        // In turn, so that drifts of the machine hit all alike.
        for (Contender& c : contenders) {
            Bench::TimedStart timed;
            std::wstring error;
            if (!Bench::TimeStart(c.program, c.commandLine, kTimeoutMs, false, timed, error)) {
                std::fprintf(stderr, "%s, run %d: %ls\n", c.label, run, error.c_str());
                return 1;
            }
            if (run > 0)
                c.times.push_back(timed.milliseconds);
        }
    }
    for (int run = 0; run < 5; ++run) {
        for (Contender& c : contenders) {
            // A record of its own for each start: the sampled peak only ever grows.
            Bench::TimedStart sampled;
            std::wstring error;
            if (Bench::TimeStart(c.program, c.commandLine, kTimeoutMs, true, sampled, error))
                c.peakWorkingSet = std::max(c.peakWorkingSet, sampled.peakWorkingSet / 1024);
        }
    }
    SetEnvironmentVariableW(L"TGC_FIXTURE_SET_EVENT", nullptr);

    std::printf("time from process start to the game center running, %d runs each:\n", runs);
    for (Contender& c : contenders) {
        c.spread = Bench::Summarise(c.times);
        PrintSpread(c.label, c.spread);
    }
    const double timeToSameWork = Ratio(theClient.spread.median, sameWork.spread.median);
    const double timeToBare = Ratio(theClient.spread.median, bare.spread.median);
    std::printf("  ratio of medians, client / same-work floor: %.2f   client / bare floor: %.2f\n", timeToSameWork,
                timeToBare);
    std::printf("\ntgc_client.exe size on disk: %llu bytes\n", FileSize(client));
    std::printf("peak working sets (KiB%s):\n", theClient.peakWorkingSet == 0 ? ", not reported by this system" : "");
    for (const Contender& c : contenders)
        std::printf("%-34s %8llu\n", c.label, c.peakWorkingSet);
    const double memoryToSameWork = Ratio(theClient.peakWorkingSet, sameWork.peakWorkingSet);
    const double memoryToBare = Ratio(theClient.peakWorkingSet, bare.peakWorkingSet);
    std::printf("  ratio, client / same-work floor: %.2f   client / bare floor: %.2f\n", memoryToSameWork,
                memoryToBare);
    // One line for scripts/bench's side-by-side table.
    std::printf("summary\t%.1f\t%.1f\t%.1f\t%.2f\t%.2f\t%llu\t%llu\t%llu\t%.2f\t%.2f\t%llu\n", theClient.spread.median,
                sameWork.spread.median, bare.spread.median, timeToSameWork, timeToBare, theClient.peakWorkingSet,
                sameWork.peakWorkingSet, bare.peakWorkingSet, memoryToSameWork, memoryToBare, FileSize(client));
    return ReportHandleCounts() ? 0 : 2;
}
