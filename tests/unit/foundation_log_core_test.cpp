// The logging core and facade: queue bounds, the logger's own records, failure handling, locations.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "errors/err.h"
#include "log/core.h"
#include "log/debugger_sink.h"
#include "log/logger.h"
#include "support/log_capture.h"

namespace {

class ListSink : public Log::Sink {
public:
    void deliver(const Log::Record& record) override { records.push_back(record); }
    std::vector<Log::Record> records;
};

// Fails on the record with the given text by throwing what the factory makes.
class FailingSink : public Log::Sink {
public:
    FailingSink(std::wstring failOn, std::function<void()> fail) : failOn_(std::move(failOn)), fail_(std::move(fail)) {}
    void deliver(const Log::Record& record) override
    {
        if (record.text == failOn_)
            fail_();
        delivered.push_back(record.text);
    }
    std::vector<std::wstring> delivered;

private:
    std::wstring failOn_;
    std::function<void()> fail_;
};

struct SinkDown : Log::Errors::Base {
    SinkDown() : Log::Errors::Base("sink down") {}
};

Log::Record MakeRecord(int level, const std::wstring& text)
{
    return Log::Record{level, LOG_LOCATION(), text};
}

std::vector<std::wstring> Texts(const std::vector<Log::Record>& records)
{
    std::vector<std::wstring> texts;
    for (const auto& r : records)
        texts.push_back(r.text);
    return texts;
}

TEST(LogCore, BoundedQueueStoresOverflowNoticeThenDrops)
{
    const struct {
        std::size_t capacity;
        int pushes;
        std::vector<std::wstring> delivered;
    } cases[] = {
        {4, 2, {L"r0", L"r1"}},
        {4, 3, {L"r0", L"r1", L"r2"}},
        {4, 4, {L"r0", L"r1", L"r2", Log::kOverflowText}},
        {4, 9, {L"r0", L"r1", L"r2", Log::kOverflowText}},
        {2, 5, {L"r0", Log::kOverflowText}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pushes);
        const auto core = std::make_shared<Log::Core>(c.capacity);
        const auto sink = std::make_shared<ListSink>();
        core->addSink(sink);
        for (int i = 0; i < c.pushes; ++i)
            core->push(MakeRecord(5, L"r" + std::to_wstring(i)));
        EXPECT_EQ(core->queuedCount(), c.delivered.size());
        core->flush();
        EXPECT_EQ(core->queuedCount(), 0u);
        EXPECT_EQ(Texts(sink->records), c.delivered);
        for (const auto& record : sink->records) {
            if (record.text == Log::kOverflowText) {
                EXPECT_EQ(record.level, 4);
            }
        }
    }
}

TEST(LogCore, FlushMakesRoomAgain)
{
    const auto core = std::make_shared<Log::Core>(2);
    const auto sink = std::make_shared<ListSink>();
    core->addSink(sink);
    core->push(MakeRecord(5, L"a"));
    core->push(MakeRecord(5, L"b"));
    core->push(MakeRecord(5, L"c"));
    core->flush();
    core->push(MakeRecord(5, L"d"));
    core->flush();
    EXPECT_EQ(Texts(sink->records), (std::vector<std::wstring>{L"a", Log::kOverflowText, L"d"}));
}

TEST(LogCore, NewLoggerAnnouncesItselfByName)
{
    const auto core = std::make_shared<Log::Core>(Log::Core::kDefaultCapacity, 0);
    const auto sink = std::make_shared<ListSink>();
    core->addSink(sink);
    const auto logger = core->createLogger(L"network");
    core->flush();
    ASSERT_EQ(sink->records.size(), 1u);
    EXPECT_EQ(sink->records[0].text, L"Logger created (network)");
    EXPECT_EQ(sink->records[0].level, Log::kLoggerCreatedLevel);
    EXPECT_EQ(logger->name(), L"network");

    // Below the threshold the announcement is filtered like any record.
    const auto quiet = std::make_shared<Log::Core>(Log::Core::kDefaultCapacity, 4);
    quiet->createLogger(L"network");
    EXPECT_EQ(quiet->queuedCount(), 0u);
}

TEST(LogCore, ThresholdAndEnabledFlagDecide)
{
    const auto core = std::make_shared<Log::Core>(Log::Core::kDefaultCapacity, 4);
    const auto logger = core->createLogger(L"t");
    EXPECT_FALSE(logger->isEnabled(3));
    EXPECT_TRUE(logger->isEnabled(4));
    EXPECT_TRUE(logger->isEnabled(5));
    logger->log(3, LOG_LOCATION(), L"dropped");
    logger->log(4, LOG_LOCATION(), L"kept %1", {L"x"});
    EXPECT_EQ(core->queuedCount(), 1u);
    core->setEnabled(false);
    EXPECT_FALSE(logger->isEnabled(5));
    logger->log(5, LOG_LOCATION(), L"dropped");
    EXPECT_EQ(core->queuedCount(), 1u);

    const Log::Logger detached(L"alone", nullptr);
    EXPECT_FALSE(detached.isEnabled(5));
}

TEST(LogCore, DeliveryFailureDisablesCoreAndReachesHandler)
{
    struct Case {
        const char* label;
        std::function<void()> fail;
        const std::type_info& handled;
        const char* what;
    };
    const Case cases[] = {
        {"log error as is", [] { throw SinkDown(); }, typeid(SinkDown), "sink down"},
        {"log error Failed as is", [] { throw Log::Errors::Failed("failed"); }, typeid(Log::Errors::Failed), "failed"},
        {"std exception wrapped", [] { throw std::runtime_error("disk full"); }, typeid(Log::Errors::Failed),
         "disk full"},
        {"family error wrapped", [] { throw Err::Error("bad"); }, typeid(Log::Errors::Failed), "bad: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const auto core = std::make_shared<Log::Core>(Log::Core::kDefaultCapacity, 0);
        const auto sink = std::make_shared<FailingSink>(L"second", c.fail);
        core->addSink(sink);
        int calls = 0;
        core->setErrorHandler([&](const Log::Errors::Base& failure) {
            ++calls;
            EXPECT_EQ(typeid(failure), c.handled);
            EXPECT_STREQ(failure.what(), c.what);
        });
        const auto logger = core->createLogger(L"t");
        logger->log(5, LOG_LOCATION(), L"first");
        logger->log(5, LOG_LOCATION(), L"second");
        logger->log(5, LOG_LOCATION(), L"third");
        EXPECT_NO_THROW(core->flush());
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(core->isEnabled());
        EXPECT_FALSE(logger->isEnabled(5));
        EXPECT_EQ(sink->delivered, (std::vector<std::wstring>{L"Logger created (t)", L"first"}));
        logger->log(5, LOG_LOCATION(), L"after");
        EXPECT_EQ(core->queuedCount(), 0u);
    }
}

TEST(LogCore, DeliveryFailureWithoutHandlerStaysQuiet)
{
    const auto core = std::make_shared<Log::Core>();
    core->addSink(std::make_shared<FailingSink>(L"x", [] { throw std::runtime_error("down"); }));
    core->push(MakeRecord(5, L"x"));
    EXPECT_NO_THROW(core->flush());
    EXPECT_FALSE(core->isEnabled());
}

TEST(LogFacade, NoCoreMeansNoLoggerAndNothingEnabled)
{
    ASSERT_EQ(Log::installedCore(), nullptr);
    EXPECT_EQ(Log::getLogger(), nullptr);
    EXPECT_EQ(Log::getLogger(), nullptr);
    EXPECT_FALSE(Log::isEnabled(4));
    EXPECT_FALSE(Log::isEnabled(5));
    const Err::Error2 error("nobody listens");
    EXPECT_EQ(&Log::loggedThrow(Log::getLogger(), error, LOG_LOCATION()), &error);
}

TEST(LogFacade, CaptureInstallsAndRemovesTheProcessLogger)
{
    {
        LogCapture capture;
        const auto logger = Log::getLogger();
        ASSERT_NE(logger, nullptr);
        EXPECT_EQ(Log::getLogger(), logger);
        EXPECT_EQ(logger->name(), Log::kDefaultLoggerName);
        EXPECT_TRUE(Log::isEnabled(4));
        logger->log(4, LOG_LOCATION(), L"seen %1", {L"here"});
        const auto records = capture.records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].text, L"seen here");
        EXPECT_EQ(records[0].level, 4);
    }
    EXPECT_EQ(Log::getLogger(), nullptr);
    EXPECT_FALSE(Log::isEnabled(5));
}

TEST(LogFacade, LoggedThrowLogsWhatAtLevel5)
{
    LogCapture capture;
    const Log::SourceLocation site = LOG_LOCATION();
    try {
        throw Log::loggedThrow(Log::getLogger(), Err::Error2("Dossier introuvable \xC3\xA9"), site);
    } catch (const Err::Error2& caught) {
        EXPECT_STREQ(caught.what(), "[Error] Dossier introuvable \xC3\xA9: ");
    }
    const auto records = capture.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].level, 5);
    EXPECT_EQ(records[0].text, L"[Error] Dossier introuvable \u00E9: ");
    EXPECT_EQ(records[0].location.line, site.line);
    EXPECT_STREQ(records[0].location.file, site.file);
    // The text is the format as given: placeholders in an error text stay.
    try {
        throw Log::loggedThrow(Log::getLogger(), Err::Error2("100% at %1"), site);
    } catch (const Err::Error2&) {
    }
    EXPECT_EQ(capture.records().back().text, L"[Error] 100% at %1: ");
}

TEST(LogLocation, FilledAtTheCallSite)
{
    using namespace std::chrono;
    const auto before = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
    const Log::SourceLocation here = Log::currentLocation("here.cpp", 42);
    const auto after = duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
    EXPECT_STREQ(here.file, "here.cpp");
    EXPECT_EQ(here.line, 42);
    EXPECT_GE(here.time / 10000000, before - 1);
    EXPECT_LE(here.time / 10000000, after + 1);
    EXPECT_EQ(here.processId, GetCurrentProcessId());
    EXPECT_EQ(Log::startupProcessId(), GetCurrentProcessId());
    EXPECT_EQ(here.threadId, GetCurrentThreadId());

    Log::SourceLocation there{};
    DWORD otherThread = 0;
    std::thread([&] {
        there = LOG_LOCATION();
        otherThread = GetCurrentThreadId();
    }).join();
    EXPECT_EQ(there.threadId, otherThread);
    EXPECT_NE(there.threadId, here.threadId);
    EXPECT_EQ(there.processId, here.processId);
}

TEST(LogDebuggerSink, OneLinePerRecord)
{
    const Log::Record record{4, Log::SourceLocation{"log/x.cpp", 7, 0, 10, 20}, L"text \u00E9"};
    EXPECT_EQ(Log::debuggerLine(record), L"log/x.cpp(7): [10:20] 4: text \u00E9\n");
    Log::DebuggerSink sink;
    EXPECT_NO_THROW(sink.deliver(record));
}

}  // namespace
