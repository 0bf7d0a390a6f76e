// Placeholders in log formats: numbered by rank, untouched beyond the arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/format.h"

namespace {

TEST(LogFormat, PlaceholderRules)
{
    const struct {
        const wchar_t* format;
        std::vector<std::wstring> args;
        const wchar_t* expected;
    } cases[] = {
        {L"Failed to initilize COM for thread %1: %2",
         {L"12", L"-2147417850"},
         L"Failed to initilize COM for thread 12: -2147417850"},
        {L"Failed to initilize COM for thread %1: %2", {L"12"}, L"Failed to initilize COM for thread 12: %2"},
        {L"Logger created (%0)", {L"default"}, L"Logger created (default)"},
        // No arguments: the format as written.
        {L"a %1 b %", {}, L"a %1 b %"},
        // The rank among distinct numbers picks the argument, not the number itself.
        {L"%7 and %40", {L"first", L"second"}, L"first and second"},
        {L"%40 then %7", {L"first", L"second"}, L"second then first"},
        {L"%2", {L"only"}, L"only"},
        {L"%3 %2 %1", {L"a"}, L"%3 %2 a"},
        {L"%0 %9 %10", {L"a", L"b"}, L"a b %10"},
        // Repeats share one argument.
        {L"%1-%2-%1", {L"x", L"y"}, L"x-y-x"},
        {L"%5%5", {L"ab"}, L"abab"},
        // Two digits at most; "%05" is number 5.
        {L"%123", {L"a"}, L"a3"},
        {L"%05/%5", {L"a"}, L"a/a"},
        // A "%" without a digit is text.
        {L"100%", {L"x"}, L"100%"},
        {L"%", {L"x"}, L"%"},
        {L"%x %1", {L"a"}, L"%x a"},
        {L"%%1", {L"a"}, L"%a"},
        {L"", {L"a"}, L""},
        {L"[%1]", {L""}, L"[]"},
        {L"%1", {L"a", L"b", L"c"}, L"a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(Log::formatMessage(c.format, c.args), c.expected);
    }
}

TEST(LogFormat, BuildsTheTextInOneAllocation)
{
    // Sized up front: a short estimate would grow the buffer beyond the text, a long one leave it larger.
    const std::wstring longArgument(100, L'x');
    const std::wstring text =
        Log::formatMessage(L"start %1 middle %2 %1 end %3 %", {longArgument, L"short", std::wstring(40, L'y')});
    EXPECT_EQ(text,
              L"start " + longArgument + L" middle short " + longArgument + L" end " + std::wstring(40, L'y') + L" %");
    EXPECT_EQ(text.capacity(), text.size());
}

}  // namespace
