// Layout of the notification dialog as a function of base units, screen, icon and text extents.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ui/notification_layout.h"

namespace {

using Ui::DisplayMetrics;
using Ui::LayoutControl;
using Ui::NotificationLayout;
using Ui::NotificationOptions;

// Text that is `lines` lines of `lineHeight` and `messageWidth` wide; captions as configured.
class FakeMeasure : public Ui::TextMeasure {
public:
    int lineHeight = 16;
    int messageLines = 1;
    int messageWidth = 300;
    SIZE link{96, 16};
    std::map<std::wstring, int> captionWidths;
    RECT messageBounds{};
    RECT linkBounds{};

    int LineHeight() override { return lineHeight; }
    RECT MessageExtent(std::wstring_view, const RECT& bounds) override
    {
        messageBounds = bounds;
        return {bounds.left, bounds.top, bounds.left + messageWidth, bounds.top + messageLines * lineHeight};
    }
    RECT LinkExtent(std::wstring_view, const RECT& bounds) override
    {
        linkBounds = bounds;
        return {bounds.left, bounds.top, bounds.left + link.cx, bounds.top + link.cy};
    }
    int CaptionWidth(std::wstring_view caption) override
    {
        const auto found = captionWidths.find(std::wstring(caption));
        return found != captionWidths.end() ? found->second : 40;
    }
};

DisplayMetrics Metrics(Ui::DialogBaseUnits units = {8, 16}, int screenWidth = 1920, bool icon = true)
{
    DisplayMetrics metrics{units, screenWidth, 32, std::nullopt};
    if (icon)
        metrics.iconSize = SIZE{32, 32};
    return metrics;
}

NotificationOptions InstallOptions()
{
    NotificationOptions options{};
    options.buttons = L"";
    options.actionCaption = L"Install Tarvo Game Center";
    options.actionTarget = L"https://example.invalid/install";
    options.supportCaption = L"Contact Support";
    options.supportTarget = L"https://example.invalid/support";
    return options;
}

std::vector<const LayoutControl*> Buttons(const NotificationLayout& layout)
{
    std::vector<const LayoutControl*> buttons;
    for (const LayoutControl& control : layout.controls) {
        if (control.atom == 0x0080)
            buttons.push_back(&control);
    }
    return buttons;
}

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}

TEST(NotificationLayout, ButtonSizeFollowsTheBaseUnits)
{
    const struct {
        Ui::DialogBaseUnits units;
        LONG cx, cy;
    } cases[] = {{{8, 16}, 88, 26}, {{7, 16}, 78, 26}, {{9, 16}, 100, 26}, {{6, 13}, 66, 22}};
    for (const auto& c : cases) {
        const SIZE size = Ui::ButtonSize(c.units);
        EXPECT_EQ(size.cx, c.cx) << c.units.x << "x" << c.units.y;
        EXPECT_EQ(size.cy, c.cy) << c.units.x << "x" << c.units.y;
    }
}

TEST(NotificationLayout, ACaptionWiderThan68PixelsWidensItsButtonToTextWidthPlus20)
{
    const struct {
        int captionWidth;
        LONG buttonWidth;
    } cases[] = {{10, 88}, {68, 88}, {69, 89}, {150, 170}};
    for (const auto& c : cases) {
        FakeMeasure measure;
        measure.captionWidths[L"Install Tarvo Game Center"] = c.captionWidth;
        const NotificationLayout layout = Ui::LayOutNotification(L"m", InstallOptions(), Metrics(), measure);
        const auto buttons = Buttons(layout);
        ASSERT_EQ(buttons.size(), 1u);
        EXPECT_EQ(Width(buttons[0]->rect), c.buttonWidth) << "caption " << c.captionWidth;
        EXPECT_EQ(buttons[0]->rect.bottom - buttons[0]->rect.top, 26);
    }
}

TEST(NotificationLayout, MessageWrapsAtAThirdOfTheScreenLessIconAndMargins)
{
    const struct {
        int screenWidth;
        int iconMetricWidth;
        int limit;
    } cases[] = {{1920, 32, 534}, {1024, 32, 235}, {1920, 48, 518}, {2560, 32, 747}};
    for (const auto& c : cases) {
        FakeMeasure measure;
        DisplayMetrics metrics = Metrics({8, 16}, c.screenWidth);
        metrics.iconMetricWidth = c.iconMetricWidth;
        const NotificationLayout layout = Ui::LayOutNotification(L"m", InstallOptions(), metrics, measure);
        EXPECT_EQ(layout.textWidthLimit, c.limit);
        EXPECT_EQ(measure.messageBounds.right, c.limit);
        EXPECT_EQ(measure.messageBounds.left, 0);
        // The link is measured from below the message to the same limit.
        EXPECT_EQ(measure.linkBounds.left, layout.messageRect.left);
        EXPECT_EQ(measure.linkBounds.top, layout.messageRect.bottom);
        EXPECT_EQ(measure.linkBounds.right, c.limit);
    }
}

TEST(NotificationLayout, OneLineStartsAt32SeveralLinesLevelWithTheIconAt24)
{
    const struct {
        int lines;
        bool icon;
        RECT message;
    } cases[] = {
        // With a 32-pixel icon the text moves right by 48 and the rectangle widens by 56.
        {1, true, {64, 32, 300 + 28 + 56, 16 + 40}},
        {2, true, {64, 24, 300 + 28 + 56, 24 + (32 + 8) - 5}},
        {3, true, {64, 24, 300 + 28 + 56, 24 + (48 + 8) - 5}},
        {0, true, {64, 32, 300 + 28 + 56, 16 + 40}},  // an empty extent counts as one line
        {1, false, {16, 32, 300 + 28, 16 + 40}},
        {3, false, {16, 32, 300 + 28, 48 + 40}},
    };
    for (const auto& c : cases) {
        FakeMeasure measure;
        measure.messageLines = c.lines;
        const NotificationLayout layout =
            Ui::LayOutNotification(L"m", InstallOptions(), Metrics({8, 16}, 1920, c.icon), measure);
        SCOPED_TRACE(testing::Message() << c.lines << " lines, icon " << c.icon);
        EXPECT_EQ(layout.messageRect.left, c.message.left);
        EXPECT_EQ(layout.messageRect.top, c.message.top);
        EXPECT_EQ(layout.messageRect.right, c.message.right);
        EXPECT_EQ(layout.messageRect.bottom, c.message.bottom);
    }
}

TEST(NotificationLayout, ControlsComeIconMessageLinkThenButtonsWithTheirIdsAndOnlyTheLinkIsAnExtraTabStop)
{
    FakeMeasure measure;
    const NotificationLayout layout = Ui::LayOutNotification(L"Two\nlines", InstallOptions(), Metrics(), measure);

    ASSERT_EQ(layout.controls.size(), 4u);
    const struct {
        WORD atom;
        WORD id;
        std::wstring text;
        DWORD extraStyle;
    } expected[] = {{0x0082, 1000, L"", 0},
                    {0x0082, 1001, L"Two\nlines", 0},
                    {0x0082, 1002, L"Contact Support", WS_TABSTOP},
                    {0x0080, 23, L"Install Tarvo Game Center", 0}};
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        EXPECT_EQ(layout.controls[i].atom, expected[i].atom) << i;
        EXPECT_EQ(layout.controls[i].id, expected[i].id) << i;
        EXPECT_EQ(layout.controls[i].text, expected[i].text) << i;
        EXPECT_EQ(layout.controls[i].extraStyle, expected[i].extraStyle) << i;
    }
    ASSERT_TRUE(layout.iconRect);
    EXPECT_EQ(layout.iconRect->left, 24);
    EXPECT_EQ(layout.iconRect->top, 24);
    EXPECT_EQ(layout.iconRect->right, 58);
    EXPECT_EQ(layout.iconRect->bottom, 58);
    EXPECT_EQ(layout.supportId, 1002);
    EXPECT_EQ(layout.lastStaticId, 1002);
    EXPECT_EQ(layout.actionId, 23);
}

TEST(NotificationLayout, WithoutIconOrLinkNeitherControlExists)
{
    FakeMeasure measure;
    NotificationOptions options{};
    options.buttons = L"Close";
    const NotificationLayout layout = Ui::LayOutNotification(L"m", options, Metrics({8, 16}, 1920, false), measure);

    ASSERT_EQ(layout.controls.size(), 2u);
    EXPECT_EQ(layout.controls[0].id, 1001);
    EXPECT_EQ(layout.controls[1].id, 23);
    EXPECT_FALSE(layout.iconRect);
    EXPECT_FALSE(layout.supportRect);
    EXPECT_EQ(layout.supportId, 0);
    EXPECT_EQ(layout.lastStaticId, 1001);
    EXPECT_EQ(layout.actionId, 0) << "\"Close\" alone is no action";
    // Width without the icon column: the message width and 32.
    EXPECT_EQ(layout.dialogPixels.cx, 300 + 12 + 32);
}

TEST(NotificationLayout, ButtonListIsSplitAtLineFeedsActionAppendedAndCutToThree)
{
    const struct {
        const wchar_t* buttons;
        const wchar_t* action;
        std::vector<std::wstring> captions;
        WORD actionId;
    } cases[] = {
        {L"", L"Install Tarvo Game Center", {L"Install Tarvo Game Center"}, 23},
        {nullptr, L"Install", {L"Install"}, 23},
        {L"Close", nullptr, {L"Close"}, 0},
        {L"A\n\nB", nullptr, {L"A", L"", L"B"}, 0},
        {L"A\nB", L"Go", {L"A", L"B", L"Go"}, 25},
        // Three captions fill the row: the action gets no button, and C becomes the action.
        {L"A\nB\nC", L"Install Tarvo Game Center", {L"A", L"B", L"C"}, 25},
        {L"", nullptr, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "list \"" << (c.buttons ? c.buttons : L"(none)") << "\"");
        FakeMeasure measure;
        NotificationOptions options = InstallOptions();
        options.buttons = c.buttons;
        options.actionCaption = c.action;
        const NotificationLayout layout = Ui::LayOutNotification(L"m", options, Metrics(), measure);
        const auto buttons = Buttons(layout);
        ASSERT_EQ(buttons.size(), c.captions.size());
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i]->text, c.captions[i]);
            EXPECT_EQ(buttons[i]->id, 23 + i);
        }
        EXPECT_EQ(layout.actionId, c.actionId);
    }
}

TEST(NotificationLayout, ButtonRowIsRightAlignedBelowTheContent)
{
    FakeMeasure measure;
    measure.messageLines = 2;
    measure.captionWidths = {{L"A", 40}, {L"Wide caption", 100}, {L"Go", 30}};
    NotificationOptions options = InstallOptions();
    options.buttons = L"A\nWide caption";
    options.actionCaption = L"Go";
    const NotificationLayout layout = Ui::LayOutNotification(L"m", options, Metrics(), measure);

    const auto buttons = Buttons(layout);
    ASSERT_EQ(buttons.size(), 3u);
    // Message: top 24, bottom 24 + 40 - 5 = 59; link below it to 75; icon to 58.
    const int rowTop = 75 + 36;
    const int dialogWidth = 300 + 28 + 56 + 24;
    EXPECT_EQ(layout.dialogPixels.cx, dialogWidth);
    EXPECT_EQ(layout.dialogPixels.cy, rowTop + 26 + 12);
    const LONG widths[] = {88, 120, 88};
    LONG left = dialogWidth - (88 + 120 + 88 + 12) - 16;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i]->rect.left, left) << i;
        EXPECT_EQ(buttons[i]->rect.top, rowTop) << i;
        EXPECT_EQ(Width(buttons[i]->rect), widths[i]) << i;
        left += widths[i] + 6;
    }
    EXPECT_EQ(buttons[2]->rect.right, dialogWidth - 16);
}

TEST(NotificationLayout, ANarrowMessageGrowsToFitTheButtonRow)
{
    FakeMeasure measure;
    measure.messageWidth = 20;
    measure.captionWidths[L"Install Tarvo Game Center"] = 300;
    const NotificationLayout layout = Ui::LayOutNotification(L"m", InstallOptions(), Metrics(), measure);

    EXPECT_EQ(layout.dialogPixels.cx, 320 + 32);
    const auto buttons = Buttons(layout);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0]->rect.left, 16);
}

TEST(NotificationLayout, TemplateSizeIsThePixelSizeInDialogUnits)
{
    const Ui::DialogBaseUnits unitCases[] = {{8, 16}, {7, 16}, {9, 18}};
    for (const auto units : unitCases) {
        FakeMeasure measure;
        const NotificationLayout layout = Ui::LayOutNotification(L"m", InstallOptions(), Metrics(units), measure);
        EXPECT_EQ(layout.dialogUnits.cx, layout.dialogPixels.cx * 4 / units.x);
        EXPECT_EQ(layout.dialogUnits.cy, layout.dialogPixels.cy * 8 / units.y);
        EXPECT_GT(layout.dialogUnits.cx, 0);
    }
}

TEST(NotificationLayout, TheLinkKeepsItsWholeCaptionAfterTheRoundTripThroughDialogUnits)
{
    for (int bx = 5; bx <= 12; ++bx) {
        for (int messageWidth = 100; messageWidth < 140; ++messageWidth) {
            for (int captionWidth = 1; captionWidth <= 200; ++captionWidth) {
                FakeMeasure measure;
                measure.messageWidth = messageWidth;
                measure.link = SIZE{captionWidth, 16};
                const NotificationLayout layout =
                    Ui::LayOutNotification(L"m", InstallOptions(), Metrics({bx, 16}), measure);
                ASSERT_TRUE(layout.supportRect);
                const RECT& link = *layout.supportRect;
                // Pixels to dialog units as the template stores them, and back as the dialog creates it.
                const int x = ::MulDiv(link.left, 4, bx);
                const int cx = ::MulDiv(link.right - link.left, 4, bx);
                const int shown = std::min(::MulDiv(cx, bx, 4), ::MulDiv(x + cx, bx, 4) - ::MulDiv(x, bx, 4));
                ASSERT_GE(shown, captionWidth) << "base unit " << bx << ", message " << messageWidth;
                ASSERT_LE(link.right - link.left, captionWidth + 3);
            }
        }
    }
}

TEST(NotificationLayout, BaseUnitsComeFromTheSystemOrFromAMeasurementOr8By16)
{
    const auto reported = Ui::ReportedBaseUnits(MAKELONG(7, 16));
    ASSERT_TRUE(reported);
    EXPECT_EQ(reported->x, 7);
    EXPECT_EQ(reported->y, 16);
    EXPECT_FALSE(Ui::ReportedBaseUnits(MAKELONG(0, 16)));
    EXPECT_FALSE(Ui::ReportedBaseUnits(MAKELONG(8, 0)));

    const struct {
        int alphabetWidth, textHeight;
        int x, y;
    } cases[] = {
        {364, 16, 7, 16},  // 364 / 26 = 14 pixels for two letters
        {390, 19, 8, 19},  // 15 per two letters rounds up
        {0, 16, 8, 16},    // nothing measured
        {20, 16, 8, 16},   // narrower than one pixel a letter
        {416, 0, 8, 16},
    };
    for (const auto& c : cases) {
        const Ui::DialogBaseUnits units = Ui::MeasuredBaseUnits(c.alphabetWidth, c.textHeight);
        EXPECT_EQ(units.x, c.x) << c.alphabetWidth << "/" << c.textHeight;
        EXPECT_EQ(units.y, c.y) << c.alphabetWidth << "/" << c.textHeight;
    }
}

}  // namespace
