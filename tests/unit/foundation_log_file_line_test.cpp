// One record, one line of the run log: never longer than the cap, cut only between characters.
#include <gtest/gtest.h>

#include <string>

#include "errors/utf8.h"
#include "libraries/system/win32/log_file_sink.h"

namespace {

struct LineCase {
    const char* name;
    std::wstring text;
    std::size_t limit;
    std::string textPart;  // what of the text the line keeps, in UTF-8
};

class LogFileLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(LogFileLine, KeepsWholeCharactersWithinTheCap)
{
    const LineCase& c = GetParam();
    // 2026-12-10 00:00:00.000 UTC
    const Log::Record record{4, {"f.cpp", 1, 17968608000000000, 1, 1}, c.text};
    const std::string line = System::Win32::LogFileLine(record, c.limit);
    const std::string prefix = "2026-12-10 00:00:00.000 4 ";
    ASSERT_GE(line.size(), prefix.size() + 2) << line;
    EXPECT_LE(line.size(), c.limit);
    EXPECT_EQ(line.substr(0, prefix.size()), prefix);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    EXPECT_EQ(line.substr(prefix.size(), line.size() - prefix.size() - 2), c.textPart);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogFileLine,
    ::testing::Values(LineCase{"Short", L"path C:\\x", 4096, "path C:\\x"},
                      LineCase{"LineBreaksBecomeBlanks", L"a\r\nb\nc", 4096, "a  b c"},
                      LineCase{"Utf8", L"\u00e9\u0416\U0001F600", 4096, Text::WideToUtf8(L"\u00e9\u0416\U0001F600")},
                      LineCase{"LongTextCutAtTheCap", std::wstring(5000, L'a'), 4096, std::string(4096 - 28, 'a')},
                      // 26 bytes of prefix, then two-byte characters: room for 3 bytes keeps one of them.
                      LineCase{"CutBetweenCharacters", L"\u00e9\u00e9\u00e9", 26 + 3 + 2, Text::WideToUtf8(L"\u00e9")},
                      LineCase{"CutBeforeAFourByteCharacter", L"x\U0001F600", 26 + 4 + 2, "x"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

}  // namespace
