// The scope owners: a close never changes the thread's last error.
#include <windows.h>

#include <gtest/gtest.h>

#include "libraries/system/win32/unique_resource.h"

namespace {

// A close that fails and says so through the last error, as CloseHandle of a stale handle does.
struct FailingCloseTraits {
    using Type = int;
    static Type invalid() { return 0; }
    static void close(Type) { ::SetLastError(ERROR_INVALID_HANDLE); }
};
using FailingClose = System::Win32::UniqueResource<FailingCloseTraits>;

TEST(UniqueResource, ClosingLeavesTheThreadsLastErrorAsItWas)
{
    const struct {
        const char* how;
        void (*close)(FailingClose&);
    } closes[] = {
        {"reset", [](FailingClose& owner) { owner.reset(); }},
        {"reset to another", [](FailingClose& owner) { owner.reset(2); }},
        {"put", [](FailingClose& owner) { owner.put(); }},
        {"move assignment", [](FailingClose& owner) { owner = FailingClose(3); }},
        {"end of scope", [](FailingClose& owner) { FailingClose gone(owner.release()); }},
    };
    for (const auto& c : closes) {
        FailingClose owner(1);
        ::SetLastError(ERROR_ALREADY_EXISTS);
        c.close(owner);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << c.how;
    }
}

}  // namespace
