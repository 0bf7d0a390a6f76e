#include "ui/notification_layout.h"

#include <algorithm>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

#include "ui/framework/dialog_item.h"

namespace Ui {

namespace {

// Margins of the task-dialog look, in pixels at every resolution.
constexpr int kEdge = 16;
constexpr int kButtonGap = 6;
constexpr int kCaptionPadding = 20;
constexpr int kRowGap = 27 + 9;  // the extra 9 because the dialog has a white message band
constexpr int kBottomMargin = 12;

// The message placed beside the icon, when there is one, and the dialog width that needs.
struct MessageBlock {
    RECT messageRect;
    std::optional<RECT> iconRect;
    int dialogWidth;
};

MessageBlock PlaceMessage(std::wstring_view message, const DisplayMetrics& metrics, int widthLimit,
                          TextMeasure& measure)
{
    const int lineHeight = measure.LineHeight();
    const RECT extent = measure.MessageExtent(message, RECT{0, 0, widthLimit, widthLimit});
    const int messageWidth = extent.right - extent.left;
    int messageHeight = extent.bottom - extent.top;
    if (messageHeight == 0)
        messageHeight = lineHeight;

    RECT messageRect{kEdge, 32, messageWidth + 28, messageHeight + 40};
    if (!metrics.iconSize)
        return {messageRect, std::nullopt, (messageRect.right - messageRect.left) + 32};

    const SIZE icon = *metrics.iconSize;
    messageRect.left += icon.cx + 16;
    messageRect.right += icon.cx + 24;
    // Several lines start level with the icon; one line sits centred beside it.
    if (messageHeight > lineHeight) {
        const int height = messageRect.bottom - messageRect.top;
        messageRect.top = 24;
        messageRect.bottom = 24 + height - 5;
    }
    return {messageRect, RECT{24, 24, 26 + icon.cx, 26 + icon.cy}, messageRect.right + 24};
}

// The support link under the message, as wide as its caption.
RECT PlaceSupportLink(const wchar_t* caption, const RECT& messageRect, int widthLimit, DialogBaseUnits units,
                      TextMeasure& measure)
{
    RECT link = measure.LinkExtent(caption, RECT{messageRect.left, messageRect.bottom, widthLimit, widthLimit});
    // The rectangle is exactly as wide as the caption, and the round trip through whole dialog units
    // can take a pixel off; the static then wraps the second word out of sight. One unit to spare.
    link.right += (units.x + 3) / 4;
    return link;
}

// Each button as wide as its caption needs, but never narrower than the standard button.
std::vector<int> ButtonWidths(const std::vector<std::wstring>& captions, int standardWidth, TextMeasure& measure)
{
    std::vector<int> widths;
    for (const std::wstring& caption : captions)
        widths.push_back(std::max<int>(standardWidth, measure.CaptionWidth(caption) + kCaptionPadding));
    return widths;
}

int RowWidth(const std::vector<int>& widths)
{
    int width = 0;
    for (const int buttonWidth : widths)
        width += buttonWidth;
    if (!widths.empty())
        width += kButtonGap * static_cast<int>(widths.size() - 1);
    return width;
}

// The lowest of the message, the icon and the support link: the button row goes below it.
int ContentBottom(const NotificationLayout& layout)
{
    int bottom = layout.messageRect.bottom;
    if (layout.iconRect)
        bottom = std::max<int>(bottom, layout.iconRect->bottom);
    if (layout.supportRect)
        bottom = std::max<int>(bottom, layout.supportRect->bottom);
    return bottom;
}

}  // namespace

std::optional<DialogBaseUnits> ReportedBaseUnits(LONG packed)
{
    const DialogBaseUnits units = SplitDialogBaseUnits(packed);
    if (units.x == 0 || units.y == 0)
        return std::nullopt;
    return units;
}

DialogBaseUnits MeasuredBaseUnits(int alphabetWidth, int textHeight)
{
    const int x = ((alphabetWidth / 26) + 1) / 2;
    if (x == 0 || textHeight == 0)
        return {8, 16};
    return {x, textHeight};
}

SIZE ButtonSize(DialogBaseUnits units)
{
    return {::MulDiv(38, units.x, 4) + ::MulDiv(6, units.x, 4), ::MulDiv(12, units.y, 8) + ::MulDiv(1, units.y, 8)};
}

int TextWidthLimit(int screenWidth, int iconMetricWidth)
{
    return screenWidth / 3 - 58 - iconMetricWidth - 16;
}

std::vector<std::wstring> ButtonCaptions(const wchar_t* buttons, const wchar_t* actionCaption)
{
    std::vector<std::wstring> captions;
    if (buttons != nullptr && *buttons != L'\0')
        boost::split(captions, std::wstring(buttons), boost::is_any_of(L"\n"));
    if (actionCaption != nullptr)
        captions.emplace_back(actionCaption);
    if (captions.size() > kMaxButtons)
        captions.resize(kMaxButtons);
    return captions;
}

NotificationLayout LayOutNotification(std::wstring_view message, const NotificationOptions& options,
                                      const DisplayMetrics& metrics, TextMeasure& measure)
{
    NotificationLayout layout;
    layout.buttonSize = ButtonSize(metrics.baseUnits);
    layout.textWidthLimit = TextWidthLimit(metrics.screenWidth, metrics.iconMetricWidth);

    const MessageBlock block = PlaceMessage(message, metrics, layout.textWidthLimit, measure);
    layout.messageRect = block.messageRect;
    layout.iconRect = block.iconRect;
    if (layout.iconRect)
        layout.controls.push_back({CXDialogItem::kStaticAtom, kIconControlId, *layout.iconRect, L"", 0});

    WORD nextStaticId = kFirstStaticId;
    layout.controls.push_back(
        {CXDialogItem::kStaticAtom, nextStaticId++, layout.messageRect, std::wstring(message), 0});
    if (options.supportCaption != nullptr) {
        layout.supportRect = PlaceSupportLink(options.supportCaption, layout.messageRect, layout.textWidthLimit,
                                              metrics.baseUnits, measure);
        layout.supportId = nextStaticId;
        // A tab stop: the keyboard reaches the link after the buttons, since it comes before them.
        layout.controls.push_back(
            {CXDialogItem::kStaticAtom, nextStaticId++, *layout.supportRect, options.supportCaption, WS_TABSTOP});
    }
    layout.lastStaticId = static_cast<WORD>(nextStaticId - 1);

    const std::vector<std::wstring> captions = ButtonCaptions(options.buttons, options.actionCaption);
    const std::vector<int> widths = ButtonWidths(captions, layout.buttonSize.cx, measure);
    const int rowWidth = RowWidth(widths);
    const int rowTop = ContentBottom(layout) + kRowGap;
    const int dialogWidth = std::max(block.dialogWidth, rowWidth + 32);
    const int dialogHeight = rowTop + layout.buttonSize.cy + kBottomMargin;

    // Right-aligned, left to right in caption order.
    int left = dialogWidth - rowWidth - kEdge;
    WORD id = kFirstButtonId;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const RECT rect{left, rowTop, left + widths[i], rowTop + layout.buttonSize.cy};
        layout.controls.push_back({CXDialogItem::kButtonAtom, id++, rect, captions[i], 0});
        left += widths[i] + kButtonGap;
    }
    // The action caption was appended last, so the last button carries the action, whatever its caption.
    if (options.actionCaption != nullptr && !captions.empty())
        layout.actionId = static_cast<WORD>(kFirstButtonId - 1 + captions.size());

    layout.dialogPixels = {dialogWidth, dialogHeight};
    layout.dialogUnits = {dialogWidth * 4 / metrics.baseUnits.x, dialogHeight * 8 / metrics.baseUnits.y};
    return layout;
}

}  // namespace Ui
