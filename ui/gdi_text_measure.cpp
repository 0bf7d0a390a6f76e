#include "ui/gdi_text_measure.h"

#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/gdi_scopes.h"

namespace Ui {

namespace {

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

// NONCLIENTMETRICSW without the padded-border field: the size every system version accepts.
constexpr UINT kNonClientMetricsSize = 500;

SIZE TextExtent(HDC dc, std::wstring_view text)
{
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

GdiTextMeasure::GdiTextMeasure(HDC dc, HFONT messageFont, HFONT linkFont)
    : m_dc(dc), m_messageFont(messageFont), m_linkFont(linkFont)
{
}

int GdiTextMeasure::LineHeight()
{
    SelectedObject font(m_dc, m_messageFont);
    return TextExtent(m_dc, L"My").cy;
}

RECT GdiTextMeasure::MessageExtent(std::wstring_view text, const RECT& bounds)
{
    return Extent(m_messageFont, text, bounds);
}

RECT GdiTextMeasure::LinkExtent(std::wstring_view text, const RECT& bounds)
{
    return Extent(m_linkFont, text, bounds);
}

int GdiTextMeasure::CaptionWidth(std::wstring_view caption)
{
    SelectedObject font(m_dc, m_messageFont);
    return TextExtent(m_dc, caption).cx;
}

RECT GdiTextMeasure::Extent(HFONT font, std::wstring_view text, const RECT& bounds)
{
    SelectedObject selected(m_dc, font);
    RECT rect = bounds;
    ::DrawTextW(m_dc, text.data(), static_cast<int>(text.size()), &rect, kMeasureFlags);
    return rect;
}

DialogBaseUnits LayoutBaseUnits(HWND owner)
{
    if (const auto reported = ReportedBaseUnits(::GetDialogBaseUnits()))
        return *reported;

    System::Win32::UniqueDeviceContext memory;
    {
        WindowDc ownerDc(owner);
        memory.reset(::CreateCompatibleDC(ownerDc.get()));
    }
    if (!memory)
        return MeasuredBaseUnits(0, 0);
    static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const SIZE alphabet = TextExtent(memory.get(), kAlphabet);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(memory.get(), &metrics);
    return MeasuredBaseUnits(alphabet.cx, metrics.tmHeight);
}

LOGFONTW MessageLogFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
    return metrics.lfMessageFont;
}

}  // namespace Ui
