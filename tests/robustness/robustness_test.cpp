// Starts the real client many times with generated command lines and installations, always quiet:
// every run must end by itself with exit code 0, show no window, and start the game center exactly
// when the installation names a usable one. Seeded: TGC_ROBUSTNESS_SEED and TGC_ROBUSTNESS_RUNS
// choose the sequence and its length, and a failure prints both with the run's inputs.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "command_line_model.h"
#include "installation_model.h"
#include "support/file_and_argv.h"
#include "support/game_center_record.h"
#include "support/machine_state.h"
#include "support/process_runner.h"
#include "support/test_paths.h"
#include "support/ui_windows.h"

namespace {

using namespace Robustness;
using TestSupport::WideToUtf8;

constexpr DWORD kRunTimeoutMs = 8000;
constexpr DWORD kLateStartMs = 400;  // time a wrongly started game center would need to write its record

std::uint64_t EnvironmentNumber(const char* name, std::uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// Installs what the model describes for the scope of one run, on top of a clean machine.
class ArrangedInstallation {
public:
    explicit ArrangedInstallation(const Installation& installation)
    {
        if (installation.hasPathFile)
            pathFile_.write(installation.pathFileBytes);
        for (const auto& value : installation.uninstallValues) {
            entries_.push_back(std::make_unique<TestSupport::SavedUninstallEntry>(value.hive, value.view));
            entries_.back()->setDisplayIcon(value.type, value.data);
        }
    }

private:
    TestSupport::ScopedNoGameCenter clean_;
    TestSupport::SavedPathFile pathFile_;
    std::vector<std::unique_ptr<TestSupport::SavedUninstallEntry>> entries_;
};

struct RunOutcome {
    bool ended = false;
    DWORD exitCode = 0;
    bool showedWindow = false;
    std::vector<TestSupport::GameCenterRecord> records;
};

RunOutcome RunQuietClient(const std::wstring& commandLine, const std::wstring& logPath)
{
    RunOutcome outcome;
    TestSupport::ScopedEnvironmentVariable log(L"TGC_FIXTURE_LOG", logPath);
    TestSupport::ChildOptions standardUser;
    standardUser.standardUser = true;  // a run whose game center may start
    TestSupport::ChildProcess client(TestSupport::ClientExePath(), commandLine, standardUser);
    const DWORD start = GetTickCount();
    while (!client.waitForExit(5)) {
        outcome.showedWindow = outcome.showedWindow || !TestSupport::VisibleTopLevelWindows(client.processId()).empty();
        if (GetTickCount() - start > kRunTimeoutMs)
            return outcome;  // the child is terminated with its owner
    }
    outcome.ended = true;
    outcome.exitCode = client.exitCode();
    Sleep(kLateStartMs);
    outcome.records = TestSupport::ReadGameCenterRecords(logPath);
    for (const auto& record : outcome.records)
        TestSupport::TerminateProcessById(record.processId);
    DeleteFileW(logPath.c_str());
    return outcome;
}

TEST(Robustness, GeneratedQuietRunsEndCleanlyAndStartOnlyUsableGameCenters)
{
    const std::uint64_t seed = EnvironmentNumber("TGC_ROBUSTNESS_SEED", 20261208);
    const std::uint64_t runs = EnvironmentNumber("TGC_ROBUSTNESS_RUNS", 40);
    std::mt19937_64 random(seed);
    std::uint64_t started = 0;

    for (std::uint64_t run = 0; run < runs; ++run) {
        const Installation installation = GenerateInstallation(random);
        const Invocation invocation = GenerateInvocation(random);
        const Expectation expected = Expect(invocation.tokens, installation.usable);
        const std::wstring commandLine = JoinCommandLine(TestSupport::ClientExePath(), invocation.tokens);
        SCOPED_TRACE("seed " + std::to_string(seed) + " run " + std::to_string(run) + "\ninstallation: " +
                     WideToUtf8(installation.description) + "\ncommand line: " + WideToUtf8(commandLine));

        ArrangedInstallation arranged(installation);
        const RunOutcome outcome = RunQuietClient(commandLine, TestSupport::UniqueScratchPath(L"robustness", L"log"));

        ASSERT_TRUE(outcome.ended) << "the client did not end within " << kRunTimeoutMs << " ms";
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_FALSE(outcome.showedWindow);
        const size_t expectedStarts = expected.outcome == Expected::StartsGameCenter ? 1 : 0;
        ASSERT_EQ(outcome.records.size(), expectedStarts) << "operation " << WideToUtf8(expected.operation);
        if (expectedStarts == 0)
            continue;
        ++started;
        // Whatever the folder holds, the game center's own parser gets it back exactly.
        if (!expected.defaultFolder) {
            const auto arguments = TestSupport::ArgvOf(outcome.records.front().commandLine);
            const size_t folderAt = expected.operation == L"uninstall" ? 3 : 2;
            ASSERT_GT(arguments.size(), folderAt);
            EXPECT_EQ(WideToUtf8(arguments[folderAt]), WideToUtf8(expected.gameFolder));
        }
    }
    // A sequence that never starts the game center would prove little.
    EXPECT_GT(started, 0u);
    std::printf("robustness: seed %llu, %llu runs, %llu started the game center\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(runs),
                static_cast<unsigned long long>(started));
}

}  // namespace
