// FillRect: which pixels a rectangle covers, in which byte order, and which
// memory rows they land in.
#include "canvas.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace {

constexpr COLORREF ground = 0x102030;
constexpr COLORREF paint = 0x332851;

struct FillCase {
    const char* name;
    RECT given;
    RECT covered; // ordered and clipped; empty when nothing is painted
};

void PrintTo(const FillCase& c, std::ostream* out)
{
    *out << c.name;
}

class FillRectCases : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillRectCases, PaintsExactlyTheOrderedClippedArea)
{
    const FillCase& c = GetParam();
    for (int height : {24, -24}) { // bottom-up and top-down rows
        Canvas canvas(32, height);
        canvas.fill(ground);
        ASSERT_NE(FillRect(canvas.dc(), &c.given, CreateSolidBrush(paint)), 0);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const bool inside =
                    x >= c.covered.left && x < c.covered.right && y >= c.covered.top && y < c.covered.bottom;
                ASSERT_EQ(canvas.at(x, y), bytesOf(inside ? paint : ground))
                    << c.name << " at " << x << "," << y << " with height " << height;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, FillRectCases,
    ::testing::Values(FillCase{"ordered", {3, 4, 10, 9}, {3, 4, 10, 9}},
                      FillCase{"top and bottom reversed", {3, 9, 10, 4}, {3, 4, 10, 9}},
                      FillCase{"left and right reversed", {10, 4, 3, 9}, {3, 4, 10, 9}},
                      FillCase{"both reversed", {10, 9, 3, 4}, {3, 4, 10, 9}},
                      FillCase{"reversed past the bottom edge", {0, 40, 32, 18}, {0, 18, 32, 24}},
                      FillCase{"over every edge", {-5, -7, 50, 60}, {0, 0, 32, 24}},
                      FillCase{"left of the bitmap", {-20, 2, 0, 8}, {0, 0, 0, 0}},
                      FillCase{"below the bitmap", {2, 24, 8, 30}, {0, 0, 0, 0}},
                      FillCase{"zero width", {5, 2, 5, 8}, {0, 0, 0, 0}},
                      FillCase{"one pixel", {31, 23, 32, 24}, {31, 23, 32, 24}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(FillRect, StoresColorrefAsBlueGreenRedWithTheTopRowLastInMemory)
{
    Canvas canvas(4, 3); // bottom-up
    canvas.fill(0x000000);
    const RECT topRow{0, 0, 4, 1};
    FillRect(canvas.dc(), &topRow, CreateSolidBrush(0xFFD559));

    const std::uint8_t* lastRow = canvas.bits() + 2 * 4 * 4;
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(lastRow[x * 4 + 0], 255) << "blue byte first";
        EXPECT_EQ(lastRow[x * 4 + 1], 213);
        EXPECT_EQ(lastRow[x * 4 + 2], 89) << "red byte third";
        EXPECT_EQ(canvas.bits()[x * 4], 0) << "the first row in memory is the bottom of the picture";
    }

    Canvas topDown(4, -3);
    topDown.fill(0x000000);
    FillRect(topDown.dc(), &topRow, CreateSolidBrush(0xFFD559));
    EXPECT_EQ(topDown.bits()[0], 255) << "a negative height stores the top row first";
}

TEST(FillRect, NullBrushUsesTheSelectedBrushAndBadArgumentsFail)
{
    Canvas canvas(8, 8);
    canvas.fill(0x000000);
    const RECT all{0, 0, 8, 8};
    // A new DC holds the stock white brush.
    EXPECT_NE(FillRect(canvas.dc(), &all, nullptr), 0);
    EXPECT_EQ(canvas.at(3, 3), bytesOf(0xFFFFFF));
    SelectObject(canvas.dc(), CreateSolidBrush(0x123456));
    FillRect(canvas.dc(), &all, nullptr);
    EXPECT_EQ(canvas.at(3, 3), bytesOf(0x123456));

    EXPECT_EQ(FillRect(nullptr, &all, CreateSolidBrush(0)), 0);
    EXPECT_EQ(FillRect(canvas.dc(), nullptr, CreateSolidBrush(0)), 0);
    HFONT notABrush = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    EXPECT_EQ(FillRect(canvas.dc(), &all, reinterpret_cast<HBRUSH>(notABrush)), 0);
    EXPECT_EQ(canvas.at(3, 3), bytesOf(0x123456));
}

} // namespace
