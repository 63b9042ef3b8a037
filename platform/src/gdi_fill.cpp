// USER32 FillRect on memory device contexts.
#include "device_context.h"
#include "gdi_objects.h"

#include <algorithm>
#include <utility>

void fillPixels(HBITMAP__& bitmap, int left, int top, int right, int bottom, COLORREF color)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, bitmap.width);
    bottom = std::min(bottom, bitmap.height);
    if (left >= right || top >= bottom)
        return;

    const auto blue = static_cast<std::uint8_t>(color >> 16);
    const auto green = static_cast<std::uint8_t>(color >> 8);
    const auto red = static_cast<std::uint8_t>(color);
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* pixel = pixelAt(bitmap, left, y);
        for (int x = left; x < right; ++x, pixel += 4) {
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
            pixel[3] = 0;
        }
    }
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    if (dc == nullptr || rect == nullptr)
        return 0;
    // A null brush falls back to the one selected into the DC, the stock white
    // brush unless another was selected.
    if (brush == nullptr)
        brush = dc->brush != nullptr ? dc->brush : stockWhiteBrush();
    if (gdiTagOf(brush) == nullptr || gdiTagOf(brush)->kind != GdiKind::brush)
        return 0;
    if (dc->bitmap == nullptr)
        return 1; // a window DC, or a memory DC with only its 1 x 1 stock bitmap

    // Like GDI, a rectangle whose sides come in reverse order covers the same
    // pixels as the ordered one; right and bottom stay exclusive.
    LONG left = rect->left, right = rect->right, top = rect->top, bottom = rect->bottom;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    fillPixels(*dc->bitmap, left, top, right, bottom, brush->color);
    return 1;
}
