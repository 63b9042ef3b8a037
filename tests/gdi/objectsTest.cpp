// DIB sections, object selection and the colours of a device context.
#include "canvas.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

BITMAPINFO header(LONG width, LONG height, WORD bits = 32, DWORD compression = BI_RGB)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = compression;
    return info;
}

TEST(CreateDIBSection, GivesZeroedWritableMemoryOfTheRightSize)
{
    const BITMAPINFO info = header(1024, 1024);
    void* bits = nullptr;
    ASSERT_NE(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    ASSERT_NE(bits, nullptr);
    auto* bytes = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i < 1024u * 1024u * 4u; i += 4093)
        ASSERT_EQ(bytes[i], 0) << i;
    bytes[1024u * 1024u * 4u - 1] = 7; // the last byte belongs to the bitmap
}

TEST(CreateDIBSection, RefusesWhatItCannotRepresent)
{
    const struct {
        const char* what;
        BITMAPINFO info;
    } cases[] = {
        {"24 bits per pixel", header(16, 16, 24)},
        {"compressed", header(16, 16, 32, 3)},
        {"zero width", header(0, 16)},
        {"negative width", header(-16, 16)},
        {"zero height", header(16, 0)},
        {"more than 4 GiB of pixels", header(65536, 65536)},
    };
    for (const auto& c : cases) {
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, &c.info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr) << c.what;
        EXPECT_EQ(bits, nullptr) << c.what;
    }
    void* bits = nullptr;
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(SelectObject, ReturnsWhatItReplacesOfTheSameKind)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH red = CreateSolidBrush(0x0000FF);
    HBRUSH blue = CreateSolidBrush(0xFF0000);
    HFONT small = CreateFontA(10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    HFONT large = CreateFontA(40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    const BITMAPINFO info = header(8, 8);
    void* bits = nullptr;
    HBITMAP first = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP second = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);

    // The first selection of each kind hands back the DC's stock object, which
    // can be selected again.
    HGDIOBJ stockBrush = SelectObject(dc, red);
    HGDIOBJ stockFont = SelectObject(dc, small);
    HGDIOBJ stockBitmap = SelectObject(dc, first);
    EXPECT_NE(stockBrush, nullptr);
    EXPECT_NE(stockFont, nullptr);
    EXPECT_NE(stockBitmap, nullptr);

    EXPECT_EQ(SelectObject(dc, blue), red);
    EXPECT_EQ(SelectObject(dc, large), small);
    EXPECT_EQ(SelectObject(dc, second), first);
    EXPECT_EQ(SelectObject(dc, stockBrush), blue);
    EXPECT_EQ(SelectObject(dc, stockFont), large);
    EXPECT_EQ(SelectObject(dc, stockBitmap), second);

    EXPECT_EQ(SelectObject(nullptr, red), nullptr);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    int notAnObject[4] = {};
    EXPECT_EQ(SelectObject(dc, notAnObject), nullptr);
}

TEST(DeviceContextColours, NewDcIsBlackOnWhiteAndSettersReturnThePreviousColour)
{
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetTextColor(dc, 0x332851), 0x000000u);
    EXPECT_EQ(SetBkColor(dc, 0xFFD559), 0xFFFFFFu);
    EXPECT_EQ(SetTextColor(dc, 0x3A271D), 0x332851u);
    EXPECT_EQ(SetBkColor(dc, 0x332851), 0xFFD559u);
    EXPECT_EQ(SetTextColor(nullptr, 0), CLR_INVALID);
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
    EXPECT_TRUE(GdiFlush());
}

} // namespace
