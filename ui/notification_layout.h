// Where the controls of a notification dialog go, computed from the display's metrics and text extents.
// Pure arithmetic: the measurements come in through TextMeasure, so any display can be stood in for.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/framework/dialog_units.h"
#include "ui/notification_options.h"

namespace Ui {

constexpr WORD kIconControlId = 1000;
constexpr WORD kFirstStaticId = 1001;
constexpr WORD kFirstButtonId = 23;
constexpr std::size_t kMaxButtons = 3;

// Text extents on the display the dialog appears on.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Height of "My" in the message font.
    virtual int LineHeight() = 0;
    // DrawTextW with DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX into `bounds`.
    virtual RECT MessageExtent(std::wstring_view text, const RECT& bounds) = 0;
    virtual RECT LinkExtent(std::wstring_view text, const RECT& bounds) = 0;
    // Width of one line in the message font.
    virtual int CaptionWidth(std::wstring_view caption) = 0;
};

struct DisplayMetrics {
    DialogBaseUnits baseUnits;
    int screenWidth;               // SM_CXSCREEN
    int iconMetricWidth;           // SM_CXICON, which limits the text width even without an icon
    std::optional<SIZE> iconSize;  // when the error icon loaded
};

struct LayoutControl {
    WORD atom;
    WORD id;
    RECT rect;  // pixels
    std::wstring text;
    DWORD extraStyle;  // added to the style of its kind
};

struct NotificationLayout {
    std::vector<LayoutControl> controls;  // in the order they are added to the template
    SIZE buttonSize{};
    int textWidthLimit = 0;
    RECT messageRect{};
    std::optional<RECT> iconRect;
    std::optional<RECT> supportRect;
    WORD lastStaticId = 0;
    WORD actionId = 0;   // 0 without an action button
    WORD supportId = 0;  // 0 without a support link
    SIZE dialogPixels{};
    SIZE dialogUnits{};  // the template's cx and cy
};

// Base units from GetDialogBaseUnits; nullopt when either is zero.
std::optional<DialogBaseUnits> ReportedBaseUnits(LONG packed);
// Base units measured from the 52 letters A-Z, a-z of the default font; 8 x 16 when that gave zero.
DialogBaseUnits MeasuredBaseUnits(int alphabetWidth, int textHeight);

SIZE ButtonSize(DialogBaseUnits units);
// The widest a line of message text may be.
int TextWidthLimit(int screenWidth, int iconMetricWidth);
// The captions of the button row: the list split at line feeds, the action caption appended, at most three.
std::vector<std::wstring> ButtonCaptions(const wchar_t* buttons, const wchar_t* actionCaption);

NotificationLayout LayOutNotification(std::wstring_view message, const NotificationOptions& options,
                                      const DisplayMetrics& metrics, TextMeasure& measure);

}  // namespace Ui
