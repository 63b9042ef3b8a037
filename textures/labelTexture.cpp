// The tin's label: two colour fields, three texts and two symbol glyphs painted
// with GDI into a 1024 x 1024 DIB section.
#include "textures/labelTexture.h"

BITMAPINFO bitmapInfo;

namespace {

const COLORREF mainColour = 0xFFD559;
const COLORREF bandColour = 0x332851;
const COLORREF ornamentColour = 0x3A271D;

void* pBits;

HFONT labelFont(int height, int weight, DWORD italic, DWORD charSet, DWORD pitchAndFamily, LPCSTR face)
{
    return CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, pitchAndFamily, face);
}

} // namespace

HDC createPaintSurface(void** bits)
{
    bitmapInfo.bmiHeader.biSize = 40;
    bitmapInfo.bmiHeader.biWidth = 1024;
    bitmapInfo.bmiHeader.biHeight = 1024;
    bitmapInfo.bmiHeader.biPlanes = 1;
    bitmapInfo.bmiHeader.biBitCount = 32;

    HDC dc = CreateCompatibleDC(GetDC(nullptr));
    *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bitmapInfo, DIB_RGB_COLORS, bits, nullptr, 0);
    if (*bits != nullptr)
        SelectObject(dc, bitmap);
    return dc;
}

void* paintLabelTexture()
{
    HDC dc = createPaintSurface(&pBits);
    if (pBits == nullptr)
        return nullptr; // no memory to paint into; the texture is created without data

    RECT rect = {0, 0, 1024, 1024};
    FillRect(dc, &rect, CreateSolidBrush(mainColour));
    // The band: top and bottom reach FillRect reversed and cover rows 768 to 1023.
    rect.top = 1024;
    rect.bottom = 768;
    FillRect(dc, &rect, CreateSolidBrush(bandColour));

    SetTextColor(dc, bandColour);
    SetBkColor(dc, mainColour);
    SelectObject(dc, labelFont(380, FW_BOLD, TRUE, ANSI_CHARSET, VARIABLE_PITCH | FF_DONTCARE, "Gabriola"));
    TextOutA(dc, 0, 185, "Marvessa Navy", 13);
    SelectObject(dc, labelFont(95, FW_BOLD, FALSE, ANSI_CHARSET, VARIABLE_PITCH | FF_DONTCARE, "Gabriola"));
    TextOutA(dc, 360, 475, "MELLOW FLAKE", 12);
    SelectObject(dc, labelFont(400, FW_NORMAL, FALSE, SYMBOL_CHARSET, DEFAULT_PITCH | FF_DONTCARE, "Webdings"));
    TextOutA(dc, 296, 554, "T", 1);
    SetTextColor(dc, ornamentColour);
    SelectObject(dc, labelFont(340, FW_NORMAL, FALSE, SYMBOL_CHARSET, DEFAULT_PITCH | FF_DONTCARE, "Wingdings"));
    TextOutA(dc, 342, -20, "]", 1);
    SetTextColor(dc, mainColour);
    SetBkColor(dc, bandColour);
    SelectObject(dc, labelFont(60, FW_NORMAL, FALSE, ANSI_CHARSET, VARIABLE_PITCH | FF_DONTCARE, "Carlito"));
    TextOutA(dc, 420, 880, "50g net", 7);

    // The pixels are read straight after this; let any queued drawing land first.
    GdiFlush();
    return pBits;
}
