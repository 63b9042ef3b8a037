// The clamped squared-distance transform, checked against exact values and
// against a brute-force minimum over all black pixels.
#include "textures/letteringTexture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int side = 1024;

// A 1024 x 1024 bitmap in memory coordinates (row 0 first in memory).
class Bitmap {
public:
    explicit Bitmap(std::uint8_t first = 255) : bytes_(side * side * 4, 255)
    {
        for (int i = 0; i < side * side; ++i)
            bytes_[i * 4] = first;
    }
    std::uint8_t& first(int x, int y) { return bytes_[(static_cast<std::size_t>(y) * side + x) * 4]; }
    std::uint8_t* data() { return bytes_.data(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

TEST(DistanceField, UniformBitmaps)
{
    const struct {
        std::uint8_t input;
        std::uint8_t expected;
    } cases[] = {
        {255, 255}, // no lettering anywhere
        {1, 255},   // the darkest grey is not lettering
        {0, 0},     // lettering everywhere
    };
    for (const auto& c : cases) {
        Bitmap bitmap(c.input);
        distanceField(bitmap.data());
        for (int i = 0; i < side * side; ++i)
            ASSERT_EQ(bitmap.bytes()[i * 4], c.expected) << "input " << int(c.input) << " at " << i;
    }
}

TEST(DistanceField, SingleBlackPixelGivesSquaredDistancesCappedAt255)
{
    const struct {
        int x0, y0;
    } sites[] = {{500, 300}, {0, 0}, {1023, 1023}, {3, 1020}};
    const struct {
        int dx, dy;
        int expected;
    } offsets[] = {
        {0, 0, 0},     {1, 0, 1},     {-1, 0, 1},     {0, 1, 1},     {0, -1, 1},      {1, 1, 2},
        {-1, 1, 2},    {2, 0, 4},     {15, 0, 225},   {0, -15, 225}, {15, 5, 250},    {-5, 15, 250},
        {11, 11, 242}, {16, 0, 255},  {0, 16, 255},   {12, 12, 255}, {200, 100, 255},
    };
    for (const auto& s : sites) {
        Bitmap bitmap;
        bitmap.first(s.x0, s.y0) = 0;
        distanceField(bitmap.data());
        for (const auto& o : offsets) {
            const int x = s.x0 + o.dx, y = s.y0 + o.dy;
            if (x < 0 || x >= side || y < 0 || y >= side)
                continue;
            EXPECT_EQ(bitmap.first(x, y), o.expected)
                << "site " << s.x0 << "," << s.y0 << " offset " << o.dx << "," << o.dy;
        }
    }
}

TEST(DistanceField, OnlyTheFirstByteChangesAndGreyIsBackground)
{
    Bitmap bitmap;
    std::mt19937 random(7);
    for (std::size_t i = 0; i < bitmap.bytes().size(); ++i)
        if (i % 4 != 0) {
            bitmap.data()[i] = static_cast<std::uint8_t>(random());
        }
    bitmap.first(100, 100) = 0;
    bitmap.first(101, 100) = 1;  // grey edge pixel beside the black one
    bitmap.first(100, 102) = 128;
    const std::vector<std::uint8_t> before = bitmap.bytes();

    distanceField(bitmap.data());
    EXPECT_EQ(bitmap.first(101, 100), 1);
    EXPECT_EQ(bitmap.first(100, 102), 4);
    for (std::size_t i = 0; i < before.size(); ++i)
        if (i % 4 != 0) {
            ASSERT_EQ(bitmap.bytes()[i], before[i]) << "byte " << i;
        }
}

TEST(DistanceField, MatchesBruteForceOnRandomPatterns)
{
    const struct {
        int left, top, width, height;
        double density;
    } patches[] = {
        {0, 0, 40, 30, 0.02},       // touching two edges
        {990, 1000, 34, 24, 0.05},  // touching the other two
        {400, 500, 60, 50, 0.004},  // sparse: many capped distances
        {200, 700, 32, 32, 0.5},    // dense
    };
    std::mt19937 random(2024);
    for (const auto& patch : patches) {
        Bitmap bitmap;
        std::vector<std::pair<int, int>> black;
        std::bernoulli_distribution isBlack(patch.density);
        for (int y = patch.top; y < patch.top + patch.height; ++y)
            for (int x = patch.left; x < patch.left + patch.width; ++x) {
                if (isBlack(random)) {
                    bitmap.first(x, y) = 0;
                    black.emplace_back(x, y);
                } else {
                    bitmap.first(x, y) = static_cast<std::uint8_t>(1 + random() % 255);
                }
            }
        ASSERT_FALSE(black.empty());
        distanceField(bitmap.data());

        auto bruteForce = [&](int x, int y) {
            long best = 255;
            for (const auto& [bx, by] : black)
                best = std::min<long>(best, long(x - bx) * (x - bx) + long(y - by) * (y - by));
            return static_cast<int>(best);
        };
        // Every pixel within reach of the patch, then a sparse sample of the rest.
        for (int y = std::max(patch.top - 17, 0); y < std::min(patch.top + patch.height + 17, side); ++y)
            for (int x = std::max(patch.left - 17, 0); x < std::min(patch.left + patch.width + 17, side); ++x)
                ASSERT_EQ(bitmap.first(x, y), bruteForce(x, y)) << "at " << x << "," << y;
        for (int i = 0; i < side * side; i += 997)
            ASSERT_EQ(bitmap.first(i % side, i / side), bruteForce(i % side, i / side)) << "at pixel " << i;
    }
}

TEST(LowerEnvelope, EqualInputsComeBackUnchanged)
{
    for (float value : {255.0f, 0.0f, 7.0f}) {
        std::fill(dtIn, dtIn + side, value);
        lowerEnvelope1D(side);
        for (int q = 0; q < side; ++q)
            ASSERT_EQ(dtOut[q], value) << q;
        // Every parabola stays in the envelope, bounded halfway between neighbours.
        for (int k = 1; k < side; ++k) {
            ASSERT_EQ(dtSite[k], k);
            ASSERT_EQ(dtBound[k], k - 0.5f);
        }
    }
}

TEST(LowerEnvelope, IsTheMinimumOverAllParabolas)
{
    std::mt19937 random(11);
    for (int trial = 0; trial < 20; ++trial) {
        // Whole values 0 to 255 in runs, like a column after the first pass.
        for (int p = 0; p < side; ++p)
            dtIn[p] = trial % 2 == 0 ? float(random() % 256) : (random() % 40 == 0 ? 0.0f : 255.0f);
        std::vector<float> input(dtIn, dtIn + side);
        lowerEnvelope1D(side);
        for (int q = 0; q < side; ++q) {
            float best = 1e30f;
            for (int p = std::max(q - 17, 0); p < std::min(q + 17, side); ++p)
                best = std::min(best, float((q - p) * (q - p)) + input[p]);
            ASSERT_EQ(dtOut[q], best) << "trial " << trial << " position " << q;
        }
    }
}

TEST(DistanceField, OutOfRangeArgumentsStayInsideTheBuffers)
{
    distanceField(nullptr); // what a painter hands on when its bitmap could not be made
    lowerEnvelope1D(0);
    // A line longer than the buffers is cut to their length (memory checkers
    // see any write past them).
    std::fill(dtIn, dtIn + side, 255.0f);
    dtIn[1023] = 0.0f;
    lowerEnvelope1D(4 * side);
    EXPECT_EQ(dtOut[1023], 0.0f);
    EXPECT_EQ(dtOut[1013], 100.0f);
}

} // namespace
