// GDI objects of the memory-DC drawing layer: brushes, fonts and DIB sections.
// HGDIOBJ is an untyped pointer, so every object starts with the same tag and
// SelectObject reads the tag to tell what it was handed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>

struct FontFace;

enum class GdiKind : std::uint32_t {
    brush = 1,
    font = 2,
    bitmap = 3,
};

struct GdiTag {
    std::uint32_t magic;
    GdiKind kind;
};

inline constexpr std::uint32_t gdiMagic = 0x47444930; // "GDI0"

// Objects are never deleted: the program keeps every brush, font and bitmap
// until the process ends, and the layer offers no DeleteObject.
struct HBRUSH__ {
    GdiTag tag;
    COLORREF color;
};

struct HFONT__ {
    GdiTag tag;
    FontFace* face;        // null when no usable font file was found
    int fallbackCellHeight; // the cell height drawn without a face
};

struct HBITMAP__ {
    GdiTag tag;
    int width;
    int height;
    bool topDown;
    std::uint8_t* pixels; // width * height * 4 bytes: blue, green, red, fourth byte
};

static_assert(std::is_standard_layout_v<HBRUSH__> && std::is_standard_layout_v<HFONT__> &&
              std::is_standard_layout_v<HBITMAP__>,
              "the tag must sit at the start of every GDI object");

// The tag of an object handle, or null when the pointer does not carry one.
const GdiTag* gdiTagOf(HGDIOBJ object);

// Objects a new device context starts with; a null field in HDC__ stands for them.
HBRUSH stockWhiteBrush();
HFONT stockSystemFont();
HBITMAP stockBitmap();

// A pointer to the pixel at (x, y), y counted downwards from the top of the picture.
inline std::uint8_t* pixelAt(const HBITMAP__& bitmap, int x, int y)
{
    const int row = bitmap.topDown ? y : bitmap.height - 1 - y;
    return bitmap.pixels + (static_cast<std::size_t>(row) * static_cast<std::size_t>(bitmap.width) +
                            static_cast<std::size_t>(x)) * 4;
}

// Paints the rectangle [left, right) x [top, bottom), already ordered, clipped to
// the bitmap, with a COLORREF.
void fillPixels(HBITMAP__& bitmap, int left, int top, int right, int bottom, COLORREF color);
