#include "scoped_system_look.h"

namespace UiTest {

namespace {

// Without SPIF_UPDATEINIFILE nothing is saved: the change ends with the session at the latest.
bool SetNonClientMetrics(NONCLIENTMETRICSW metrics)
{
    return ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
}

}  // namespace

NONCLIENTMETRICSW SystemNonClientMetrics()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics;
}

ScopedSystemColours::ScopedSystemColours(std::initializer_list<std::pair<int, COLORREF>> colours)
{
    std::vector<COLORREF> wanted;
    for (const auto& [index, colour] : colours) {
        m_indexes.push_back(index);
        m_saved.push_back(::GetSysColor(index));
        wanted.push_back(colour);
    }
    m_applied = ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), wanted.data()) != FALSE;
}

ScopedSystemColours::~ScopedSystemColours()
{
    if (m_applied)
        ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), m_saved.data());
}

ScopedMessageFont::ScopedMessageFont(const LOGFONTW& font) : m_saved(SystemNonClientMetrics())
{
    NONCLIENTMETRICSW changed = m_saved;
    changed.lfMessageFont = font;
    m_applied = SetNonClientMetrics(changed);
}

ScopedMessageFont::~ScopedMessageFont()
{
    if (m_applied)
        SetNonClientMetrics(m_saved);
}

}  // namespace UiTest
