// COM scope: balanced initialisation on its thread, failures and foreign-thread release only logged.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "libraries/system/win32/com_scope.h"
#include "log/core.h"
#include "log/logger.h"
#include "support/log_capture.h"

namespace {

using System::Win32::ComScope;

// Each case runs on a fresh thread, so the apartment starts uninitialised.
void OnNewThread(const std::function<void()>& body)
{
    std::thread(body).join();
}

// Whether COM is initialised on this thread right now, and in which apartment; leaves the count as it was.
enum class Apartment { None, SingleThreaded, MultiThreaded };
Apartment CurrentApartment()
{
    const HRESULT probe = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (probe == S_OK) {
        CoUninitialize();
        return Apartment::None;
    }
    if (probe == S_FALSE) {
        CoUninitialize();
        return Apartment::SingleThreaded;
    }
    EXPECT_EQ(probe, RPC_E_CHANGED_MODE);
    return Apartment::MultiThreaded;
}

bool EndsWith(const char* text, const std::string& tail)
{
    const std::string value = text ? text : "";
    return value.size() >= tail.size() && value.compare(value.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(ComScope, NestedScopeBalancesSFalse)
{
    LogCapture capture;
    OnNewThread([] {
        {
            ComScope outer;
            EXPECT_EQ(outer.result(), S_OK);
            {
                ComScope inner;
                EXPECT_EQ(inner.result(), S_FALSE);
            }
            // The inner scope undid only its own count.
            EXPECT_EQ(CurrentApartment(), Apartment::SingleThreaded);
        }
        EXPECT_EQ(CurrentApartment(), Apartment::None);
    });
    EXPECT_TRUE(capture.records().empty());
}

TEST(ComScope, MultithreadedThreadIsLeftAloneAndLogged)
{
    LogCapture capture;
    DWORD threadId = 0;
    OnNewThread([&] {
        threadId = GetCurrentThreadId();
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            ComScope scope;
            EXPECT_EQ(scope.result(), RPC_E_CHANGED_MODE);
        }
        // Had the scope uninitialised, the thread's own initialisation would be gone.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    });
    const auto records = capture.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].level, 4);
    EXPECT_EQ(records[0].text, L"Failed to initilize COM for thread " + std::to_wstring(threadId) + L": " +
                                   std::to_wstring(static_cast<long>(RPC_E_CHANGED_MODE)));
    EXPECT_EQ(records[0].location.threadId, threadId);
    EXPECT_TRUE(EndsWith(records[0].location.file, "libraries/system/win32/com_scope.cpp")) << records[0].location.file;
}

TEST(ComScope, ReleaseOnAnotherThreadKeepsComAndLogs)
{
    LogCapture capture;
    DWORD releasingThread = 0;
    OnNewThread([&] {
        auto scope = std::make_unique<ComScope>();
        ASSERT_EQ(scope->result(), S_OK);
        std::thread([&] {
            releasingThread = GetCurrentThreadId();
            scope.reset();
        }).join();
        EXPECT_EQ(CurrentApartment(), Apartment::SingleThreaded);
        CoUninitialize();  // the count the scope could not undo
        EXPECT_EQ(CurrentApartment(), Apartment::None);
    });
    const auto records = capture.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].level, 5);
    EXPECT_EQ(records[0].text, L"Can't perform COM deinitialization from other thread");
    EXPECT_EQ(records[0].location.threadId, releasingThread);
    EXPECT_TRUE(EndsWith(records[0].location.file, "libraries/system/win32/com_scope.cpp"));
}

TEST(ComScope, WithoutCoreFailuresAreSilent)
{
    ASSERT_EQ(Log::getLogger(), nullptr);
    OnNewThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_NO_THROW({
            ComScope scope;
            EXPECT_EQ(scope.result(), RPC_E_CHANGED_MODE);
        });
        CoUninitialize();
    });
    OnNewThread([] {
        auto scope = std::make_unique<ComScope>();
        EXPECT_NO_THROW(std::thread([&] { scope.reset(); }).join());
        CoUninitialize();
    });
    EXPECT_EQ(Log::getLogger(), nullptr);
    EXPECT_EQ(Log::installedCore(), nullptr);
}

}  // namespace
