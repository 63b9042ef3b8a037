#include "tools/still/sumImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(StillDisplayBytes, AverageWithGammaClampedToEightBits)
{
    struct Case {
        float sum;
        int count;
        int shown;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {0.0f, 1, 0},
        {0.5f, 1, 186},   // 0.5^(1/2.2) = 0.7297
        {1.0f, 2, 186},   // the sum is divided by the count
        {1.0f, 1, 255},
        {3.0f, 1, 255},   // above 1 shows as 1
        {0.001f, 1, 11},  // 0.0434
        {-0.5f, 1, 0},    // no power of a negative: black
        {std::nanf(""), 1, 0},
        {inf, 4, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.sum) + " / " + std::to_string(c.count));
        still::SumImage image;
        image.width = 1;
        image.height = 1;
        image.sampleCount = c.count;
        image.rgb = {c.sum, c.sum, c.sum};
        const auto bytes = still::displayBytes(image);
        ASSERT_EQ(bytes.size(), 3u);
        EXPECT_EQ(bytes[0], c.shown);
        EXPECT_EQ(bytes[2], c.shown);
    }
}

} // namespace
