#include "screen_capture.h"

#include <algorithm>

#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/gdi_scopes.h"

namespace UiTest {

int Image::Count(const RECT& area, COLORREF colour) const
{
    int count = 0;
    for (int y = std::max<int>(0, area.top); y < std::min<int>(height, area.bottom); ++y) {
        for (int x = std::max<int>(0, area.left); x < std::min<int>(width, area.right); ++x)
            count += At(x, y) == colour ? 1 : 0;
    }
    return count;
}

Image CaptureScreen(const RECT& rect)
{
    Image image;
    image.width = rect.right - rect.left;
    image.height = rect.bottom - rect.top;
    if (image.width <= 0 || image.height <= 0)
        return {};

    Ui::WindowDc screen(nullptr);
    System::Win32::UniqueDeviceContext memory(::CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    System::Win32::UniqueGdiObject bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || bits == nullptr)
        return {};
    {
        Ui::SelectedObject selected(memory.get(), bitmap.get());
        if (!::BitBlt(memory.get(), 0, 0, image.width, image.height, screen.get(), rect.left, rect.top, SRCCOPY))
            return {};
        ::GdiFlush();
    }
    const auto* source = static_cast<const BYTE*>(bits);
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = RGB(source[4 * i + 2], source[4 * i + 1], source[4 * i]);
    return image;
}

bool SaveBitmap(const Image& image, const std::wstring& path)
{
    const int stride = (image.width * 3 + 3) & ~3;
    const DWORD dataSize = static_cast<DWORD>(stride) * image.height;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + dataSize;
    header.biSize = sizeof(header);
    header.biWidth = image.width;
    header.biHeight = -image.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = dataSize;

    std::vector<BYTE> data(dataSize, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const COLORREF c = image.At(x, y);
            BYTE* at = &data[static_cast<size_t>(y) * stride + 3 * x];
            at[0] = GetBValue(c);
            at[1] = GetGValue(c);
            at[2] = GetRValue(c);
        }
    }

    System::Win32::UniqueFile out(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return false;
    DWORD written = 0;
    return ::WriteFile(out.get(), &file, sizeof(file), &written, nullptr) &&
           ::WriteFile(out.get(), &header, sizeof(header), &written, nullptr) &&
           ::WriteFile(out.get(), data.data(), dataSize, &written, nullptr);
}

}  // namespace UiTest
