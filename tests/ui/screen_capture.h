// Pixels of the screen as the X server shows them, and a bitmap file of them for people to look at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace UiTest {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // rows top to bottom

    // CLR_INVALID outside the image.
    COLORREF At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return CLR_INVALID;
        return pixels[static_cast<size_t>(y) * width + x];
    }
    // How many pixels inside `area` (image coordinates) have exactly this colour.
    int Count(const RECT& area, COLORREF colour) const;
};

// The screen inside `rect` (screen coordinates).
Image CaptureScreen(const RECT& rect);

// `icon` drawn at (0, 0) on `background`, the way DrawIcon puts it on a window.
Image DrawnIcon(HICON icon, SIZE size, COLORREF background);

// Writes a 24-bit BMP file.
bool SaveBitmap(const Image& image, const std::wstring& path);

}  // namespace UiTest
