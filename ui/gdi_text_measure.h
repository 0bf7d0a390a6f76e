// Text extents and display metrics measured with GDI on the real display.
#pragma once

#include <windows.h>

#include "ui/framework/dialog_units.h"
#include "ui/notification_layout.h"

namespace Ui {

// Measures with the message and link fonts selected into a display context.
class GdiTextMeasure : public TextMeasure {
public:
    GdiTextMeasure(HDC dc, HFONT messageFont, HFONT linkFont);

    int LineHeight() override;
    RECT MessageExtent(std::wstring_view text, const RECT& bounds) override;
    RECT LinkExtent(std::wstring_view text, const RECT& bounds) override;
    int CaptionWidth(std::wstring_view caption) override;

private:
    RECT Extent(HFONT font, std::wstring_view text, const RECT& bounds);

    HDC m_dc;
    HFONT m_messageFont;
    HFONT m_linkFont;
};

// GetDialogBaseUnits, or when it reports a zero, a measurement of the default font on a memory
// context compatible with the owner's.
DialogBaseUnits LayoutBaseUnits(HWND owner);

// The system's message font, from the non-client metrics.
LOGFONTW MessageLogFont();

}  // namespace Ui
