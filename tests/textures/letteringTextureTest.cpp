// The painted lettering: black strokes only in the top quarter of the picture,
// white everywhere else, and the distance field in the first byte.
#include "pixels.h"
#include "textures/letteringTexture.h"

#include <gtest/gtest.h>

namespace {

TEST(Lettering, StrokesLieInTheTopQuarterWithDistanceZero)
{
    const void* bits = paintLetteringTexture();
    ASSERT_NE(bits, nullptr);

    // The second and third bytes keep the painted picture; the first holds
    // min(255, D^2).
    int strokePixels = 0;
    int nearPixels = 0;
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x) {
            const Bytes p = bytesAt(bits, x, y);
            const bool stroke = p[1] == 0 && p[2] == 0;
            if (stroke) {
                ++strokePixels;
                ASSERT_LT(y, 256) << "lettering outside the text cell at " << x << "," << y;
                ASSERT_EQ(p[0], 0) << x << "," << y;
            }
            if (p[0] > 0 && p[0] < 255)
                ++nearPixels;
            if (y >= 256) {
                ASSERT_EQ(p[1], 255) << "white below the text cell at " << x << "," << y;
                ASSERT_EQ(p[2], 255);
            }
            if (y >= 256 + 16) {
                ASSERT_EQ(p[0], 255) << "far from the lettering at " << x << "," << y;
            }
        }
    EXPECT_GT(strokePixels, 20000) << "six bold letters at 256 pixels";
    EXPECT_GT(nearPixels, 1000) << "a ramp of distances around the strokes";
    EXPECT_EQ(bytesAt(bits, 1023, 0)[0], 255) << "the top-right corner is far from the text";
}

} // namespace
