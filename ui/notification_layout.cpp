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
    const int d = TextWidthLimit(metrics.screenWidth, metrics.iconMetricWidth);
    layout.textWidthLimit = d;

    const int lineHeight = measure.LineHeight();
    const RECT extent = measure.MessageExtent(message, RECT{0, 0, d, d});
    const int messageWidth = extent.right - extent.left;
    int messageHeight = extent.bottom - extent.top;
    if (messageHeight == 0)
        messageHeight = lineHeight;

    RECT messageRect{kEdge, 32, messageWidth + 28, messageHeight + 40};
    int dialogWidth = 0;
    WORD nextStaticId = kFirstStaticId;
    if (metrics.iconSize) {
        const SIZE icon = *metrics.iconSize;
        messageRect.left += icon.cx + 16;
        messageRect.right += icon.cx + 24;
        layout.iconRect = RECT{24, 24, 26 + icon.cx, 26 + icon.cy};
        layout.controls.push_back({CXDialogItem::kStaticAtom, kIconControlId, *layout.iconRect, L""});
        // Several lines start level with the icon; one line sits centred beside it.
        if (messageHeight > lineHeight) {
            const int height = messageRect.bottom - messageRect.top;
            messageRect.top = 24;
            messageRect.bottom = 24 + height - 5;
        }
        dialogWidth = messageRect.right + 24;
    } else {
        dialogWidth = (messageRect.right - messageRect.left) + 32;
    }
    layout.messageRect = messageRect;
    layout.controls.push_back({CXDialogItem::kStaticAtom, nextStaticId++, messageRect, std::wstring(message)});

    if (options.supportCaption != nullptr) {
        RECT link = measure.LinkExtent(options.supportCaption, RECT{messageRect.left, messageRect.bottom, d, d});
        // The rectangle is exactly as wide as the caption, and the round trip through whole dialog units
        // can take a pixel off; the static then wraps the second word out of sight. One unit to spare.
        link.right += (metrics.baseUnits.x + 3) / 4;
        layout.supportRect = link;
        layout.supportId = nextStaticId;
        layout.controls.push_back({CXDialogItem::kStaticAtom, nextStaticId++, link, options.supportCaption});
    }
    layout.lastStaticId = static_cast<WORD>(nextStaticId - 1);

    const std::vector<std::wstring> captions = ButtonCaptions(options.buttons, options.actionCaption);
    std::vector<int> widths;
    int rowWidth = 0;
    for (const std::wstring& caption : captions) {
        widths.push_back(std::max<int>(layout.buttonSize.cx, measure.CaptionWidth(caption) + kCaptionPadding));
        rowWidth += widths.back();
    }
    if (!widths.empty())
        rowWidth += kButtonGap * static_cast<int>(widths.size() - 1);

    int contentBottom = messageRect.bottom;
    if (layout.iconRect)
        contentBottom = std::max<int>(contentBottom, layout.iconRect->bottom);
    if (layout.supportRect)
        contentBottom = std::max<int>(contentBottom, layout.supportRect->bottom);
    const int rowTop = contentBottom + kRowGap;
    const int dialogHeight = rowTop + layout.buttonSize.cy + kBottomMargin;
    dialogWidth = std::max(dialogWidth, rowWidth + 32);

    int left = dialogWidth - rowWidth - kEdge;
    WORD id = kFirstButtonId;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const RECT rect{left, rowTop, left + widths[i], rowTop + layout.buttonSize.cy};
        layout.controls.push_back({CXDialogItem::kButtonAtom, id++, rect, captions[i]});
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
