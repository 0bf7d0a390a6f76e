// The support link's colour (the user's high-contrast scheme wins over blue and purple) and the keys
// that open it when it has the focus.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>

#include "ui/keyboard_link.h"
#include "ui/link_colour.h"

namespace {

constexpr COLORREF kSystemLinkColour = RGB(0, 255, 255);  // as a high-contrast scheme's hot-light colour

struct ColourRow {
    const char* name;
    bool visited;
    bool highContrast;
    COLORREF colour;
};

void PrintTo(const ColourRow& row, std::ostream* out)
{
    *out << row.name;
}

class LinkColour : public testing::TestWithParam<ColourRow> {};

TEST_P(LinkColour, FollowsTheVisitedFlagUnlessHighContrastIsOn)
{
    const ColourRow& row = GetParam();
    EXPECT_EQ(Ui::LinkTextColour(row.visited, row.highContrast, kSystemLinkColour), row.colour);
}

INSTANTIATE_TEST_SUITE_P(Rows, LinkColour,
                         testing::Values(ColourRow{"Blue", false, false, RGB(0, 0, 255)},
                                         ColourRow{"PurpleOnceVisited", true, false, RGB(128, 0, 128)},
                                         ColourRow{"SystemLinkColourInHighContrast", false, true, kSystemLinkColour},
                                         ColourRow{"SystemLinkColourInHighContrastVisited", true, true,
                                                   kSystemLinkColour}),
                         [](const testing::TestParamInfo<ColourRow>& info) { return std::string(info.param.name); });

struct KeyRow {
    const char* name;
    WPARAM key;
    LPARAM flags;
    bool opens;
};

void PrintTo(const KeyRow& row, std::ostream* out)
{
    *out << row.name;
}

class LinkKeys : public testing::TestWithParam<KeyRow> {};

TEST_P(LinkKeys, EnterAndSpaceOpenOnTheirFirstPressOnly)
{
    const KeyRow& row = GetParam();
    EXPECT_EQ(Ui::OpensLink(row.key, row.flags), row.opens);
}

constexpr LPARAM kRepeat = LPARAM{1} << 30;

INSTANTIATE_TEST_SUITE_P(Rows, LinkKeys,
                         testing::Values(KeyRow{"Enter", VK_RETURN, 1, true},
                                         KeyRow{"Space", VK_SPACE, 0x00390001, true},
                                         KeyRow{"EnterHeldDown", VK_RETURN, kRepeat | 1, false},
                                         KeyRow{"SpaceHeldDown", VK_SPACE, kRepeat | 1, false},
                                         KeyRow{"Tab", VK_TAB, 1, false}, KeyRow{"LetterJ", 'J', 1, false}),
                         [](const testing::TestParamInfo<KeyRow>& info) { return std::string(info.param.name); });

}  // namespace
