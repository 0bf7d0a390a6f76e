// Which way a web address is opened: with administrator rights only through the desktop's shell (as
// the desktop's user), without them by the shell's open in this process; and what a failure means.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "libraries/system/win32/web_address_open.h"

namespace {

struct Fakes {
    bool administrator = false;
    bool desktopOpens = true;
    bool hereOpens = true;
    std::vector<std::wstring> calls;  // "desktop <address>" or "here <address>", in order
};
Fakes g_fakes;

bool FakeAdministrator()
{
    return g_fakes.administrator;
}
bool FakeDesktopOpen(const wchar_t* address)
{
    g_fakes.calls.push_back(L"desktop " + std::wstring(address));
    return g_fakes.desktopOpens;
}
bool FakeHereOpen(const wchar_t* address)
{
    g_fakes.calls.push_back(L"here " + std::wstring(address));
    return g_fakes.hereOpens;
}
constexpr System::Win32::WebAddressOpeners kFakeOpeners{&FakeAdministrator, &FakeDesktopOpen, &FakeHereOpen};

constexpr wchar_t kAddress[] = L"https://games.tarvo.com/support/products/tgc/";

struct Row {
    const char* name;
    bool administrator;
    bool desktopOpens;
    bool hereOpens;
    std::vector<std::wstring> calls;
    bool opened;
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.name;
}

class WebAddressOpen : public testing::TestWithParam<Row> {};

TEST_P(WebAddressOpen, TakesOnlyTheWayItsRightsAllow)
{
    const Row& row = GetParam();
    g_fakes = Fakes{row.administrator, row.desktopOpens, row.hereOpens, {}};
    EXPECT_EQ(System::Win32::OpenWebAddress(kAddress, kFakeOpeners), row.opened);
    EXPECT_EQ(g_fakes.calls, row.calls);
}

const std::wstring kDesktop = std::wstring(L"desktop ") + kAddress;
const std::wstring kHere = std::wstring(L"here ") + kAddress;

INSTANTIATE_TEST_SUITE_P(
    Rows, WebAddressOpen,
    testing::Values(Row{"ElevatedOpensAsTheDesktopUser", true, true, true, {kDesktop}, true},
                    // No desktop shell (LocalSystem, no shell running): nothing at all, not even with this token.
                    Row{"ElevatedWithoutADesktopShellOpensNothing", true, false, true, {kDesktop}, false},
                    Row{"StandardOpensHere", false, true, true, {kHere}, true},
                    Row{"StandardWhoseOpenFailsTriesNothingElse", false, true, false, {kHere}, false}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(WebAddressOpenWithoutAddress, OpensNothing)
{
    g_fakes = Fakes{};
    EXPECT_FALSE(System::Win32::OpenWebAddress(nullptr, kFakeOpeners));
    EXPECT_TRUE(g_fakes.calls.empty());
}

}  // namespace
