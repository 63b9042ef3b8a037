// The painted label: colours at known pixels as bytes in memory, the band,
// the symbol cells and the reversed text at the bottom.
#include "pixels.h"
#include "textures/labelTexture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

const Bytes mainBytes = {255, 213, 89};
const Bytes bandBytes = {51, 40, 81};
const Bytes ornamentBytes = {58, 39, 29};

class Label : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bits = paintLabelTexture(); }
    static const void* bits;

    static int count(int x0, int y0, int x1, int y1, const std::function<bool(Bytes)>& predicate)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += predicate(bytesAt(bits, x, y)) ? 1 : 0;
        return n;
    }
    static bool blendOf(Bytes a, Bytes b, Bytes c)
    {
        for (int i = 0; i < 3; ++i)
            if (c[i] < std::min(a[i], b[i]) || c[i] > std::max(a[i], b[i]))
                return false;
        return true;
    }
};
const void* Label::bits = nullptr;

TEST_F(Label, BitmapInfoDescribesA1024Square32BitBottomUpDib)
{
    ASSERT_NE(bits, nullptr);
    const BITMAPINFOHEADER& h = bitmapInfo.bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 1024);
    EXPECT_EQ(h.biHeight, 1024);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 32);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 0u);
    EXPECT_EQ(h.biClrUsed, 0u);
}

TEST_F(Label, ColoursAtKnownPixelsAsBytesInMemory)
{
    ASSERT_NE(bits, nullptr);
    const auto* memory = static_cast<const std::uint8_t*>(bits);
    // The first pixel in memory is the bottom-left of the picture: band.
    EXPECT_EQ((Bytes{memory[0], memory[1], memory[2]}), bandBytes);
    // The first pixel of the last row in memory is the top-left: main colour,
    // blue byte first, so the texture's red channel reads 255.
    const std::uint8_t* top = memory + 1023 * 4096;
    EXPECT_EQ((Bytes{top[0], top[1], top[2]}), mainBytes);

    const struct {
        int x, y;
        Bytes expected;
    } cases[] = {
        {0, 0, mainBytes},      {0, 1023, bandBytes},    {0, 700, mainBytes},   {0, 800, bandBytes},
        {1023, 700, mainBytes}, {1023, 1023, bandBytes}, {1023, 767, mainBytes}, {1023, 768, bandBytes},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bytesAt(bits, c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST_F(Label, BandCoversExactlyRows768To1023)
{
    ASSERT_NE(bits, nullptr);
    // Left of every text cell that reaches the band (and of the few pixels
    // by which a glyph may reach left of its cell).
    for (int y = 570; y < 1024; ++y)
        for (int x = 0; x < 280; ++x)
            ASSERT_EQ(bytesAt(bits, x, y), y >= 768 ? bandBytes : mainBytes) << x << "," << y;
}

TEST_F(Label, WebdingsCellPaintsTheMainColourIntoTheBand)
{
    ASSERT_NE(bits, nullptr);
    // The cell spans rows 554 to 953 from x 296; its last rows lie below the
    // glyph and show only the cell's main-colour background.
    EXPECT_EQ(bytesAt(bits, 296, 953), mainBytes);
    EXPECT_EQ(bytesAt(bits, 296, 768), mainBytes);
    EXPECT_EQ(bytesAt(bits, 295, 953), bandBytes);
    EXPECT_EQ(bytesAt(bits, 296, 954), bandBytes);
    int width = 0;
    while (296 + width < 1024 && bytesAt(bits, 296 + width, 953) == mainBytes)
        ++width;
    EXPECT_GT(width, 40) << "the cell is as wide as the glyph's advance";
    EXPECT_LT(296 + width, 1024);
    EXPECT_EQ(bytesAt(bits, 296 + width, 953), bandBytes);
}

TEST_F(Label, WingdingsCellIsClippedAtTheTopAndNothingWraps)
{
    ASSERT_NE(bits, nullptr);
    // The glyph lies in the visible part of its cell, in the ornament colour.
    EXPECT_GT(count(342, 0, 1024, 320, [](Bytes p) { return p == ornamentBytes; }), 100);
    // Its 20 clipped rows would land at the bottom of the picture if they wrapped.
    EXPECT_EQ(count(0, 1000, 1024, 1024, [](Bytes p) { return p != bandBytes; }), 0);
    EXPECT_EQ(count(0, 940, 1024, 1024, [](Bytes p) { return p == ornamentBytes; }), 0);
}

TEST_F(Label, FiftyGramsNetIsDrawnInTheMainColourOnTheBand)
{
    ASSERT_NE(bits, nullptr);
    // Rows 880 to 939 from x 420: main-colour glyphs on a band-coloured cell,
    // which also covers the Webdings cell's background where they overlap.
    EXPECT_GT(count(420, 880, 1024, 940, [](Bytes p) { return p == mainBytes; }), 300);
    EXPECT_EQ(count(420, 880, 1024, 940, [](Bytes p) { return !blendOf(mainBytes, bandBytes, p); }), 0);
    for (int x = 420; x < 430; ++x)
        EXPECT_EQ(bytesAt(bits, x, 880), bandBytes) << "cell background at " << x;
    EXPECT_EQ(bytesAt(bits, 420, 879), mainBytes) << "the Webdings cell just above";
    EXPECT_EQ(count(296, 880, 420, 940, [](Bytes p) { return p == bandBytes; }), 0)
        << "left of the text the Webdings cell keeps its background";
    EXPECT_EQ(count(0, 940, 1024, 954, [](Bytes p) { return p == mainBytes; }) > 0, true)
        << "below the text the Webdings cell shows again";
}

TEST_F(Label, TitleTextIsDrawnInTheBandColourOnTheMainGround)
{
    ASSERT_NE(bits, nullptr);
    // "Marvessa Navy" and "MELLOW FLAKE" share the rows 185 to 569.
    EXPECT_GT(count(0, 185, 1024, 570, [](Bytes p) { return p == bandBytes; }), 5000);
    EXPECT_EQ(count(0, 0, 342, 185, [](Bytes p) { return p != mainBytes; }), 0) << "above the title";
}

} // namespace
