// The lettering "Kimo57", painted with GDI and turned into a clamped squared
// distance field for the lettering slab.
#include "textures/letteringTexture.h"

#include "textures/labelTexture.h"

#include <windows.h>

namespace {

void* pBits;

} // namespace

void* paintLetteringTexture()
{
    HDC dc = createPaintSurface(&pBits);
    if (pBits == nullptr)
        return nullptr; // no memory to paint into; the texture is created without data

    // White everywhere before the text. A white brush says so outright: with
    // the bitmap left black, every pixel would count as lettering.
    RECT rect = {0, 0, 1024, 1024};
    FillRect(dc, &rect, CreateSolidBrush(0xFFFFFF));

    // Default colours: black text on an opaque white cell.
    SelectObject(dc, CreateFontA(256, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_DONTCARE, "Tahoma"));
    TextOutA(dc, 0, 0, "Kimo57", 6);

    GdiFlush();
    distanceField(pBits);
    return pBits;
}
