// GDI32 TextOutA: opaque text cells and antialiased glyphs drawn straight into
// the DIB section selected into a memory device context.
#include "device_context.h"
#include "gdi_fonts.h"
#include "gdi_objects.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int clampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Where one glyph lands: its pen position on the baseline, in device pixels.
struct GlyphTarget {
    HBITMAP__* bitmap;
    long long penX;
    long long baseline;
    std::uint8_t color[3]; // blue, green, red
    bool antialiased;
};

std::uint8_t blend(std::uint8_t under, std::uint8_t over, unsigned coverage)
{
    return static_cast<std::uint8_t>((under * (255u - coverage) + over * coverage + 127u) / 255u);
}

// FreeType hands over coverage runs in glyph coordinates: x right from the pen,
// y up from the baseline, scanline y covering [y, y + 1).
void blendSpans(int y, int count, const FT_Span* spans, void* user)
{
    const auto& target = *static_cast<const GlyphTarget*>(user);
    const long long row = target.baseline - 1 - y;
    if (row < 0 || row >= target.bitmap->height)
        return;
    for (int s = 0; s < count; ++s) {
        unsigned coverage = spans[s].coverage;
        if (!target.antialiased)
            coverage = coverage >= 128 ? 255 : 0;
        if (coverage == 0)
            continue;
        const long long first = std::max<long long>(target.penX + spans[s].x, 0);
        const long long last = std::min<long long>(target.penX + spans[s].x + spans[s].len, target.bitmap->width);
        for (long long column = first; column < last; ++column) {
            std::uint8_t* pixel = pixelAt(*target.bitmap, static_cast<int>(column), static_cast<int>(row));
            for (int channel = 0; channel < 3; ++channel)
                pixel[channel] = blend(pixel[channel], target.color[channel], coverage);
        }
    }
}

void drawGlyphOutline(FT_Outline& outline, const GlyphTarget& target)
{
    const HBITMAP__& bitmap = *target.bitmap;
    // The bitmap in glyph coordinates; FreeType clips the coverage to it.
    FT_Raster_Params params{};
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = blendSpans;
    params.user = const_cast<GlyphTarget*>(&target);
    params.clip_box.xMin = static_cast<FT_Pos>(-target.penX);
    params.clip_box.xMax = static_cast<FT_Pos>(bitmap.width - target.penX);
    params.clip_box.yMin = static_cast<FT_Pos>(target.baseline - bitmap.height);
    params.clip_box.yMax = static_cast<FT_Pos>(target.baseline);

    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    if ((box.xMax >> 6) + 1 < params.clip_box.xMin || (box.xMin >> 6) - 1 > params.clip_box.xMax ||
        (box.yMax >> 6) + 1 < params.clip_box.yMin || (box.yMin >> 6) - 1 > params.clip_box.yMax)
        return; // wholly outside the bitmap
    FT_Outline_Render(freetypeLibrary(), &outline, &params);
}

} // namespace

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length)
{
    if (dc == nullptr || length < 0 || (text == nullptr && length > 0))
        return FALSE;
    if (length == 0 || dc->bitmap == nullptr)
        return TRUE; // nothing to draw, or a DC that draws nowhere we keep

    HBITMAP__& bitmap = *dc->bitmap;
    HFONT font = dc->font != nullptr ? dc->font : stockSystemFont();
    const FontFace* face = font != nullptr ? font->face : nullptr;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);

    if (face == nullptr) {
        // No usable font on this system: keep the layout by painting the
        // background of a cell half as wide per character as it is tall.
        const long long cell = font != nullptr ? font->fallbackCellHeight : 16;
        const long long width = std::max<long long>(cell / 2, 1) * length;
        fillPixels(bitmap, x, y, clampToInt(x + width), clampToInt(y + cell), dc->bkColor);
        return TRUE;
    }

    // The opaque cell: the sum of the advances by the cell height.
    long long cellWidth = 0;
    for (int i = 0; i < length; ++i)
        cellWidth += loadGlyph(*face, glyphIndex(*face, bytes[i]));
    fillPixels(bitmap, x, y, clampToInt(x + cellWidth), clampToInt(static_cast<long long>(y) + face->cellHeight),
               dc->bkColor);

    GlyphTarget target{&bitmap, x, static_cast<long long>(y) + face->ascent,
                       {static_cast<std::uint8_t>(dc->textColor >> 16), static_cast<std::uint8_t>(dc->textColor >> 8),
                        static_cast<std::uint8_t>(dc->textColor)},
                       face->antialiased};
    for (int i = 0; i < length; ++i) {
        const int advance = loadGlyph(*face, glyphIndex(*face, bytes[i]));
        if (face->face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
            drawGlyphOutline(face->face->glyph->outline, target);
        target.penX += advance;
    }
    return TRUE;
}
