#include "screen_capture.h"

#include <algorithm>
#include <optional>

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

namespace {

// A 32-bit top-down bitmap selected into a memory context: whatever is drawn there reads back as an Image.
class Canvas {
public:
    explicit Canvas(SIZE size) : m_size(size)
    {
        Ui::WindowDc screen(nullptr);
        m_memory.reset(::CreateCompatibleDC(screen.get()));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap.reset(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        if (m_memory && m_bitmap && m_bits != nullptr)
            m_selected.emplace(m_memory.get(), m_bitmap.get());
    }

    HDC dc() const { return m_selected ? m_memory.get() : nullptr; }

    Image ToImage() const
    {
        ::GdiFlush();
        Image image;
        image.width = m_size.cx;
        image.height = m_size.cy;
        const auto* source = static_cast<const BYTE*>(m_bits);
        image.pixels.resize(static_cast<size_t>(image.width) * image.height);
        for (size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = RGB(source[4 * i + 2], source[4 * i + 1], source[4 * i]);
        return image;
    }

private:
    SIZE m_size;
    System::Win32::UniqueDeviceContext m_memory;
    System::Win32::UniqueGdiObject m_bitmap;
    void* m_bits = nullptr;
    std::optional<Ui::SelectedObject> m_selected;  // released before the bitmap and the context
};

}  // namespace

Image CaptureScreen(const RECT& rect)
{
    const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    if (size.cx <= 0 || size.cy <= 0)
        return {};
    const Canvas canvas(size);
    Ui::WindowDc screen(nullptr);
    if (canvas.dc() == nullptr ||
        !::BitBlt(canvas.dc(), 0, 0, size.cx, size.cy, screen.get(), rect.left, rect.top, SRCCOPY))
        return {};
    return canvas.ToImage();
}

Image DrawnIcon(HICON icon, SIZE size, COLORREF background)
{
    const Canvas canvas(size);
    if (canvas.dc() == nullptr)
        return {};
    const RECT all{0, 0, size.cx, size.cy};
    System::Win32::UniqueGdiObject brush(::CreateSolidBrush(background));
    ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(brush.get()));
    ::DrawIcon(canvas.dc(), 0, 0, icon);
    return canvas.ToImage();
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
