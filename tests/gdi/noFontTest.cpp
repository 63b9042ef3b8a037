// Text drawing on a system where fontconfig knows no fonts at all.
#include "canvas.h"
#include "gdi_fonts.h"

#include <gtest/gtest.h>

namespace {

TEST(NoFonts, TextPaintsItsCellBackgroundOnlyAndCarriesOn)
{
    HFONT f = CreateFontA(40, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, ANTIALIASED_QUALITY, 2, "Tahoma");
    ASSERT_NE(f, nullptr) << "the font exists even with no face behind it";
    EXPECT_EQ(fontFaceOf(f), nullptr);

    Canvas canvas(200, 100);
    canvas.fill(0x102030);
    SelectObject(canvas.dc(), f);
    SetTextColor(canvas.dc(), 0x000000);
    SetBkColor(canvas.dc(), 0xFFD559);
    EXPECT_TRUE(TextOutA(canvas.dc(), 10, 20, "Kimo57", 6));

    const Bgr background = bytesOf(0xFFD559);
    EXPECT_EQ(canvas.at(10, 20), background);
    EXPECT_EQ(canvas.at(10, 59), background) << "the cell is as tall as asked";
    EXPECT_EQ(canvas.at(10, 60), bytesOf(0x102030));
    EXPECT_EQ(canvas.count(0, 0, 200, 100, [](Bgr p) { return p == Bgr{0, 0, 0}; }), 0) << "no glyphs";
    EXPECT_EQ(canvas.count(0, 0, 10, 100, [](Bgr p) { return p != bytesOf(0x102030); }), 0);

    // The stock font of a new DC has no face either.
    Canvas other(50, 50);
    EXPECT_TRUE(TextOutA(other.dc(), 0, 0, "a", 1));
}

} // namespace
