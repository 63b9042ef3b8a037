// TextOutA: the opaque cell, the glyphs blended over it, clipping, and the
// faces the font mapper substitutes.
#include "canvas.h"
#include "gdi_fonts.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

constexpr COLORREF ground = 0x102030;
constexpr COLORREF mainColour = 0xFFD559;
constexpr COLORREF bandColour = 0x332851;

HFONT font(int height, const char* face, int weight = FW_NORMAL, bool italic = false,
           DWORD charset = ANSI_CHARSET)
{
    return CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, face);
}

bool carlitoInstalled()
{
    const FontFace* face = fontFaceOf(font(20, "Carlito"));
    return face != nullptr && face->family == "Carlito";
}

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN; // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The bounding box of every pixel that is not the ground colour.
Box paintedBox(const Canvas& canvas)
{
    Box box;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.at(x, y) != bytesOf(ground)) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

// Draws text in the ground colour on a background of another, so that glyph
// ink reaching past the cell stays invisible, and returns the cell painted.
Box cellOf(HFONT f, const std::string& text, int x, int y)
{
    Canvas canvas(600, 160);
    canvas.fill(ground);
    SelectObject(canvas.dc(), f);
    SetTextColor(canvas.dc(), ground);
    SetBkColor(canvas.dc(), mainColour);
    EXPECT_TRUE(TextOutA(canvas.dc(), x, y, text.c_str(), static_cast<int>(text.size())));
    const Box box = paintedBox(canvas);
    // The cell's first and last rows lie in the leading above and the descent
    // below the letters used here: nothing but background.
    for (int row : {box.top, box.bottom - 1})
        EXPECT_EQ(canvas.count(box.left, row, box.right, row + 1, [](Bgr p) { return p == bytesOf(mainColour); }),
                  box.width())
            << "\"" << text << "\" row " << row;
    return box;
}

TEST(TextOut, OpaqueCellIsTheSumOfAdvancesByTheCellHeight)
{
    const struct {
        const char* face;
        int height;
        const char* first;
        const char* second;
    } cases[] = {
        {"Carlito", 60, "H", "o"},
        {"Carlito", 60, "50g", " net"},
        {"DejaVu Sans", 95, "MEL", "LOW"},
        {"No Such Face Anywhere", 41, "Kim", "o57"},
    };
    for (const auto& c : cases) {
        HFONT f = font(c.height, c.face);
        const Box first = cellOf(f, c.first, 12, 30);
        const Box second = cellOf(f, c.second, 12, 30);
        const Box both = cellOf(f, std::string(c.first) + c.second, 12, 30);
        EXPECT_GT(first.width(), 0) << c.face;
        EXPECT_EQ(both.width(), first.width() + second.width()) << c.face << " " << c.first << c.second;
        for (const Box& box : {first, second, both}) {
            EXPECT_EQ(box.left, 12) << c.face;
            EXPECT_EQ(box.top, 30) << c.face;
            EXPECT_EQ(box.height(), c.height) << c.face << ": a positive height is the cell height";
        }
    }
}

TEST(TextOut, GlyphsAreTextColourBlendedOverTheBackgroundInsideTheCell)
{
    Canvas canvas(400, 100);
    canvas.fill(ground);
    SelectObject(canvas.dc(), font(60, "Carlito"));
    SetTextColor(canvas.dc(), mainColour);
    SetBkColor(canvas.dc(), bandColour);
    ASSERT_TRUE(TextOutA(canvas.dc(), 20, 10, "50g net", 7));

    const Box cell = paintedBox(canvas);
    ASSERT_EQ(cell.top, 10);
    ASSERT_EQ(cell.bottom, 70);
    const Bgr text = bytesOf(mainColour);
    const Bgr back = bytesOf(bandColour);
    EXPECT_EQ(canvas.count(cell.left, cell.top, cell.right, cell.bottom,
                           [&](Bgr p) { return !between(text, back, p); }),
              0)
        << "every cell pixel is a blend of text and background";
    EXPECT_GT(canvas.count(cell.left, cell.top, cell.right, cell.bottom, [&](Bgr p) { return p == text; }), 200);
    EXPECT_GT(canvas.count(cell.left, cell.top, cell.right, cell.bottom,
                           [&](Bgr p) { return p != text && p != back; }),
              50)
        << "edges are antialiased";
    EXPECT_EQ(canvas.at(cell.left, cell.top), back);
}

TEST(TextOut, BaselineSitsAtTheFontsAscentBelowThePosition)
{
    if (!carlitoInstalled())
        GTEST_SKIP() << "Carlito is not installed";
    // Carlito's Windows ascent and descent are 1950 and 550 units: a 100-pixel
    // cell has its baseline 78 pixels down, and "H" stands on it.
    Canvas canvas(200, 200);
    canvas.fill(ground);
    SelectObject(canvas.dc(), font(100, "Carlito"));
    SetBkColor(canvas.dc(), mainColour);
    SetTextColor(canvas.dc(), bandColour);
    TextOutA(canvas.dc(), 5, 40, "H", 1);
    int lowestInk = -1;
    for (int y = 0; y < canvas.height(); ++y)
        if (canvas.count(0, y, canvas.width(), y + 1, [](Bgr p) { return p == bytesOf(bandColour); }) > 0)
            lowestInk = y;
    EXPECT_EQ(lowestInk, 40 + 78 - 1);
}

TEST(TextOut, ClipsToTheBitmapWithoutWrapping)
{
    Canvas canvas(64, 48);
    const struct {
        const char* what;
        int x, y;
        Box untouched; // must keep the ground colour
    } cases[] = {
        {"cell above the top edge", 2, -20, {0, 20, 64, 48}},
        {"cell past the right edge", 40, 10, {0, 0, 40, 48}},
        {"cell past the bottom edge", 0, 40, {0, 0, 64, 40}},
        {"cell left of the bitmap", -200, 0, {0, 0, 64, 48}},
        {"cell far below", 0, 5000, {0, 0, 64, 48}},
        {"extreme position", INT_MAX - 5, INT_MIN + 5, {0, 0, 64, 48}},
    };
    SelectObject(canvas.dc(), font(40, "DejaVu Sans", FW_BOLD));
    SetBkColor(canvas.dc(), mainColour);
    for (const auto& c : cases) {
        canvas.fill(ground);
        EXPECT_TRUE(TextOutA(canvas.dc(), c.x, c.y, "WWMW", 4)) << c.what;
        const Box& u = c.untouched;
        EXPECT_EQ(canvas.count(u.left, u.top, u.right, u.bottom, [](Bgr p) { return p != bytesOf(ground); }), 0)
            << c.what;
    }
    // The part inside is painted: the clipped cell reaches row 0 and column 63.
    canvas.fill(ground);
    TextOutA(canvas.dc(), 40, -20, "WWMW", 4);
    EXPECT_NE(canvas.at(63, 0), bytesOf(ground));
    EXPECT_EQ(canvas.at(63, 47), bytesOf(ground));
}

TEST(TextOut, MissingFacesAreSubstitutedAndStillDraw)
{
    for (const char* missing : {"No Such Face Anywhere", "Gabriola", "Tahoma"}) {
        HFONT f = font(48, missing, FW_BOLD);
        const FontFace* face = fontFaceOf(f);
        ASSERT_NE(face, nullptr) << missing;
        EXPECT_FALSE(face->family.empty());
        Canvas canvas(200, 60);
        canvas.fill(ground);
        SelectObject(canvas.dc(), f);
        TextOutA(canvas.dc(), 0, 0, "Kimo", 4);
        EXPECT_GT(canvas.count(0, 0, 200, 60, [](Bgr p) { return p == Bgr{0, 0, 0}; }), 100)
            << missing << " drawn with " << face->family << ": black text on the new DC's white";
    }
    // Symbol requests take the mapper's face too and draw the code's glyph.
    HFONT symbol = font(120, "Webdings", FW_NORMAL, false, SYMBOL_CHARSET);
    Canvas canvas(200, 130);
    canvas.fill(ground);
    SelectObject(canvas.dc(), symbol);
    TextOutA(canvas.dc(), 0, 0, "T", 1);
    EXPECT_GT(canvas.count(0, 0, 200, 130, [](Bgr p) { return p == Bgr{0, 0, 0}; }), 100);
}

TEST(TextOut, SynthesisesBoldAndItalicWhenTheFaceHasNone)
{
    const char* family = "DejaVu Math TeX Gyre"; // one upright regular face only
    // Its cell is tall for its em: 400 pixels give letters about 70 high.
    HFONT regular = font(400, family);
    HFONT bold = font(400, family, FW_BOLD);
    HFONT italic = font(400, family, FW_NORMAL, true);
    if (fontFaceOf(regular) == nullptr || fontFaceOf(regular)->family != family || !fontFaceOf(bold)->emboldened ||
        !fontFaceOf(italic)->obliqued)
        GTEST_SKIP() << family << " is not installed alone";

    struct Ink {
        int pixels = 0;
        double topX = 0, bottomX = 0; // mean column of the top and bottom rows of "l"
    };
    auto inkOf = [](HFONT f) {
        Canvas canvas(120, 400);
        canvas.fill(0xFFFFFF);
        SelectObject(canvas.dc(), f);
        TextOutA(canvas.dc(), 20, 0, "l", 1);
        Ink ink;
        int top = -1, bottom = -1;
        for (int y = 0; y < 400; ++y)
            if (canvas.count(0, y, 120, y + 1, [](Bgr p) { return p[0] < 128; }) > 0) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        auto meanX = [&](int y) {
            double sum = 0;
            int n = 0;
            for (int x = 0; x < 120; ++x)
                if (canvas.at(x, y)[0] < 128) {
                    sum += x;
                    ++n;
                }
            return n > 0 ? sum / n : 0.0;
        };
        ink.pixels = canvas.count(0, 0, 120, 400, [](Bgr p) { return p[0] < 128; });
        ink.topX = meanX(top + 2);
        ink.bottomX = meanX(bottom - 2);
        return ink;
    };
    const Ink r = inkOf(regular), b = inkOf(bold), i = inkOf(italic);
    EXPECT_GT(b.pixels, r.pixels * 11 / 10) << "bold strokes are wider";
    EXPECT_GT((i.topX - i.bottomX) - (r.topX - r.bottomX), 8.0) << "the italic l leans right";
}

TEST(TextOut, ArgumentsThatDrawNothing)
{
    Canvas canvas(16, 16);
    canvas.fill(ground);
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "a", 1));
    EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, "a", -1));
    EXPECT_FALSE(TextOutA(canvas.dc(), 0, 0, nullptr, 3));
    EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, nullptr, 0));
    EXPECT_TRUE(TextOutA(canvas.dc(), 0, 0, "abc", 0));
    EXPECT_EQ(canvas.count(0, 0, 16, 16, [](Bgr p) { return p != bytesOf(ground); }), 0);
    // A DC with no bitmap of its own draws nowhere, and says so without failing.
    EXPECT_TRUE(TextOutA(CreateCompatibleDC(nullptr), 0, 0, "abc", 3));
}

} // namespace
