#include "canvas.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

Canvas::Canvas(int width, int height) : width_(width), height_(std::abs(height)), topDown_(height < 0)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc_ == nullptr || bitmap == nullptr || bits == nullptr)
        throw std::runtime_error("could not make a memory DC with a DIB section");
    SelectObject(dc_, bitmap);
    bits_ = static_cast<std::uint8_t*>(bits);
}

Bgr Canvas::at(int x, int y) const
{
    const int row = topDown_ ? y : height_ - 1 - y;
    const std::uint8_t* pixel = bits_ + (static_cast<std::size_t>(row) * width_ + x) * 4;
    return {pixel[0], pixel[1], pixel[2]};
}

void Canvas::fill(COLORREF color)
{
    const RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, CreateSolidBrush(color));
}

int Canvas::count(int x0, int y0, int x1, int y1, const std::function<bool(Bgr)>& predicate) const
{
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, width_); ++x)
            n += predicate(at(x, y)) ? 1 : 0;
    return n;
}

Bgr bytesOf(COLORREF color)
{
    return {static_cast<std::uint8_t>(color >> 16), static_cast<std::uint8_t>(color >> 8),
            static_cast<std::uint8_t>(color)};
}

bool between(Bgr a, Bgr b, Bgr c)
{
    for (int i = 0; i < 3; ++i)
        if (c[i] < std::min(a[i], b[i]) || c[i] > std::max(a[i], b[i]))
            return false;
    return true;
}
