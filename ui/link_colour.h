// The colour of the support link's text: blue, purple once an address was opened, and the system's own
// colour for links while high contrast is on (the user's scheme must win over ours).
#pragma once

#include <windows.h>

namespace Ui {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kVisitedLinkColour = RGB(128, 0, 128);

// `systemLinkColour` is GetSysColor(COLOR_HOTLIGHT).
constexpr COLORREF LinkTextColour(bool visited, bool highContrast, COLORREF systemLinkColour)
{
    if (highContrast)
        return systemLinkColour;  // high-contrast schemes have no visited colour: the link keeps theirs
    return visited ? kVisitedLinkColour : kLinkColour;
}

// Whether the user has high contrast on (SPI_GETHIGHCONTRAST).
bool HighContrastOn();

}  // namespace Ui
