// The program's one UTF-16/UTF-8 conversion.
#include <gtest/gtest.h>

#include <string>

#include "errors/utf8.h"

namespace {

TEST(Utf8, TextsSurviveTheRoundTripByteForByte)
{
    const struct {
        std::wstring wide;
        std::string utf8;
    } cases[] = {
        {L"", ""},
        {L"C:\\Games\\Demo", "C:\\Games\\Demo"},
        {L"Caf\u00e9 \u0416\u20ac", "Caf\xC3\xA9 \xD0\x96\xE2\x82\xAC"},
        {L"\U0001F3AE", "\xF0\x9F\x8E\xAE"},  // a surrogate pair is one character
        {std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text::WideToUtf8(c.wide), c.utf8);
        EXPECT_EQ(Text::Utf8ToWide(c.utf8), c.wide);
    }
}

TEST(Utf8, WhatIsNoCharacterBecomesTheReplacementCharacter)
{
    EXPECT_EQ(Text::Utf8ToWide("Ap\xFFps"), L"Ap\uFFFDps");
    const struct {
        std::wstring text;
        bool wellFormed;
    } cases[] = {
        {L"", true},          {L"abc", true},      {L"\xD83C\xDFAE", true},  {L"lone\xD800", false},
        {L"\xD800 x", false}, {L"x\xDC00", false}, {L"\xDFAE\xD83C", false},  // the halves the wrong way round
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text::IsWellFormedUtf16(c.text), c.wellFormed) << Text::WideToUtf8(c.text);
        if (!c.wellFormed) {
            EXPECT_NE(Text::WideToUtf8(c.text).find("\xEF\xBF\xBD"), std::string::npos) << "U+FFFD";
        }
    }
}

}  // namespace
