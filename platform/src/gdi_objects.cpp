// GDI32: brushes, memory device contexts, DIB sections, object selection and
// the text colours of a device context.
#include "device_context.h"
#include "gdi_objects.h"

#include <cstdint>
#include <limits>
#include <new>

namespace {

constexpr COLORREF colorMask = 0x00FFFFFF;

// A DIB section's memory must stay put for as long as its bitmap exists, and
// ours exist until the process ends. Windows hands out zeroed pages.
std::uint8_t* allocatePixels(std::size_t bytes)
{
    return new (std::nothrow) std::uint8_t[bytes]();
}

} // namespace

const GdiTag* gdiTagOf(HGDIOBJ object)
{
    const auto* tag = static_cast<const GdiTag*>(object);
    if (tag == nullptr || tag->magic != gdiMagic)
        return nullptr;
    return tag;
}

HBRUSH stockWhiteBrush()
{
    static HBRUSH__ brush{{gdiMagic, GdiKind::brush}, 0x00FFFFFF};
    return &brush;
}

HBITMAP stockBitmap()
{
    // Every memory DC starts with a 1 x 1 bitmap selected; drawing into it is harmless.
    static std::uint8_t pixel[4] = {};
    static HBITMAP__ bitmap{{gdiMagic, GdiKind::bitmap}, 1, 1, true, pixel};
    return &bitmap;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    return new (std::nothrow) HBRUSH__{{gdiMagic, GdiKind::brush}, color & colorMask};
}

HDC WINAPI CreateCompatibleDC(HDC)
{
    // Screen, window and memory DCs all have 32-bit colour here, so there is
    // nothing to inherit from the reference DC.
    HDC dc = new (std::nothrow) HDC__{};
    if (dc != nullptr)
        dc->memory = true;
    return dc;
}

HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset)
{
    if (bits != nullptr)
        *bits = nullptr;
    if (info == nullptr || usage != DIB_RGB_COLORS || section != nullptr || offset != 0)
        return nullptr;

    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biBitCount != 32 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == std::numeric_limits<LONG>::min())
        return nullptr;

    const auto width = static_cast<std::size_t>(header.biWidth);
    const auto height = static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    // Windows refuses DIBs whose size overflows 32 bits; so do we.
    if (width * height > std::numeric_limits<std::uint32_t>::max() / 4)
        return nullptr;

    std::uint8_t* pixels = allocatePixels(width * height * 4);
    if (pixels == nullptr)
        return nullptr;
    auto* bitmap = new (std::nothrow) HBITMAP__{{gdiMagic, GdiKind::bitmap}, static_cast<int>(width),
                                                static_cast<int>(height), header.biHeight < 0, pixels};
    if (bitmap == nullptr) {
        delete[] pixels;
        return nullptr;
    }
    if (bits != nullptr)
        *bits = pixels;
    return bitmap;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object)
{
    const GdiTag* tag = gdiTagOf(object);
    if (dc == nullptr || tag == nullptr)
        return nullptr;

    switch (tag->kind) {
    case GdiKind::brush: {
        HGDIOBJ previous = dc->brush != nullptr ? dc->brush : stockWhiteBrush();
        dc->brush = static_cast<HBRUSH>(object);
        return previous;
    }
    case GdiKind::font: {
        HGDIOBJ previous = dc->font != nullptr ? dc->font : stockSystemFont();
        dc->font = static_cast<HFONT>(object);
        return previous;
    }
    case GdiKind::bitmap: {
        // Only a memory DC draws into a bitmap.
        if (!dc->memory)
            return nullptr;
        HGDIOBJ previous = dc->bitmap != nullptr ? dc->bitmap : stockBitmap();
        dc->bitmap = static_cast<HBITMAP>(object);
        return previous;
    }
    }
    return nullptr;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color)
{
    if (dc == nullptr)
        return CLR_INVALID;
    const COLORREF previous = dc->textColor;
    dc->textColor = color & colorMask;
    return previous;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color)
{
    if (dc == nullptr)
        return CLR_INVALID;
    const COLORREF previous = dc->bkColor;
    dc->bkColor = color & colorMask;
    return previous;
}

BOOL WINAPI GdiFlush()
{
    // Every call draws at once; there is no queue to empty.
    return TRUE;
}
