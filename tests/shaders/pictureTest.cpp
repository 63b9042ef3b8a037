// The picture as a viewer sees it: a small render through the frame
// pipeline, checked at the pixels where known objects project through the
// camera (computed here from the camera's constants).
#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cmath>
#include <vector>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "tests/support/testGLContext.h"

namespace {

constexpr int width = 192;
constexpr int height = 108;
constexpr int samples = 4;

using D3 = std::array<double, 3>;
using Rgb = std::array<double, 3>;

D3 sub(D3 a, D3 b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(D3 a, D3 b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
D3 cross(D3 a, D3 b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
D3 normalize(D3 a)
{
    const double l = std::sqrt(dot(a, a));
    return {a[0] / l, a[1] / l, a[2] / l};
}

// The pixel (column, row from the bottom) whose samples land, on average,
// on the world point p. The lens point averages to the eye and the jitter to
// half a pixel; the ray's sideways components count twice against the focal
// factor 12, so screen position is 6 times the camera-space slope.
std::array<int, 2> project(D3 p)
{
    const D3 eye{-4.35, -0.65, 4.2};
    const D3 ww = normalize(sub({-8.5, -4.1, 10.5}, eye));
    const D3 uu = normalize(cross({0, 1, 0}, ww));
    const D3 vv = cross(ww, uu);
    const D3 d = sub(p, eye);
    const double sx = 6 * dot(d, uu) / dot(d, ww), sy = 6 * dot(d, vv) / dot(d, ww);
    return {int(std::lround((sx * height + width) / 2 - 1)), int(std::lround((sy * height + height) / 2 - 1))};
}

class Picture : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!createTestGLContext(width, height))
            return;
        initResourcesSized(width, height);
        paintTwoColourLabel();
        glViewport(0, 0, width, height);
        for (int i = 0; i < samples; i++) {
            renderState.sampleCount += 1.0f;
            accumulatePass();
            renderState.pingIndex = 1 - renderState.pingIndex;
        }
        sum.assign(size_t(width) * height * 4, 0.0f);
        glBindTexture(GL_TEXTURE_2D, renderState.textures[1 - renderState.pingIndex]);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, sum.data());
        rendered = true;
    }

    // The lid shows the label around u = 0.45: green to the left of that
    // column (world x below the tin's axis), blue to the right.
    static void paintTwoColourLabel()
    {
        std::vector<unsigned char> label(1024 * 1024 * 4, 0);
        for (int row = 0; row < 1024; row++)
            for (int col = 0; col < 1024; col++) {
                unsigned char* texel = &label[(size_t(row) * 1024 + col) * 4];
                texel[col < 461 ? 1 : 2] = 255;
                texel[3] = 255;
            }
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, renderState.textures[2]);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1024, 1024, GL_RGBA, GL_UNSIGNED_BYTE, label.data());
        glActiveTexture(GL_TEXTURE0);
    }

    // Mean colour per sample over the 3 x 3 pixels around the point's pixel.
    static Rgb around(D3 p)
    {
        const auto [x, y] = project(p);
        Rgb mean{0, 0, 0};
        for (int j = y - 1; j <= y + 1; j++)
            for (int i = x - 1; i <= x + 1; i++)
                for (int c = 0; c < 3; c++)
                    mean[c] += sum[(size_t(j) * width + i) * 4 + c] / (9.0 * samples);
        return mean;
    }

    static double brightness(const Rgb& c) { return (c[0] + c[1] + c[2]) / 3; }

    void SetUp() override
    {
        ASSERT_TRUE(rendered) << "no GL context";
    }

    static inline std::vector<float> sum;
    static inline bool rendered = false;
};

TEST_F(Picture, ProjectionsLieInsideTheImage)
{
    for (D3 p : {D3{-4.65, -0.915, 4.6}, D3{-4.55, -0.955, 4.73}, D3{-4.65, -0.926, 4.7}}) {
        const auto [x, y] = project(p);
        EXPECT_GT(x, 1);
        EXPECT_LT(x, width - 2);
        EXPECT_GT(y, 1);
        EXPECT_LT(y, height - 2);
    }
}

TEST_F(Picture, SumIsDefinedEverywhere)
{
    // Only blue may fall below zero: the table's colour blend overshoots the
    // wood colour there and nowhere else.
    size_t negativeBlue = 0;
    for (size_t i = 0; i < size_t(width) * height; i++) {
        for (int c = 0; c < 3; c++)
            ASSERT_TRUE(std::isfinite(sum[i * 4 + c])) << "pixel " << i;
        ASSERT_GE(sum[i * 4], 0.0f) << "pixel " << i;
        ASSERT_GE(sum[i * 4 + 1], 0.0f) << "pixel " << i;
        negativeBlue += sum[i * 4 + 2] < 0;
    }
    EXPECT_LT(negativeBlue, size_t(width) * height / 10);
}

TEST_F(Picture, EmberGlowsRedInTheBowl)
{
    const Rgb bowl = around({-4.65, -0.915, 4.6}); // the chamber's opening
    EXPECT_GT(bowl[0], 0.03);
    EXPECT_GT(bowl[0], 5 * bowl[1]);
    EXPECT_GT(bowl[0], 5 * bowl[2]);
}

TEST_F(Picture, SmallBoxIsBrighterThanTheTableAroundIt)
{
    const double box = brightness(around({-4.55, -0.955, 4.73}));
    for (D3 table : {D3{-4.533, -0.97, 4.777}, D3{-4.567, -0.97, 4.683}, D3{-4.484, -0.97, 4.706}})
        EXPECT_GT(box, 1.5 * brightness(around(table)));
}

TEST_F(Picture, LidShowsTheLabelColours)
{
    const Rgb left = around({-4.68, -0.926, 4.7}), right = around({-4.62, -0.926, 4.7});
    EXPECT_GT(left[1], 0.02);
    EXPECT_GT(left[1], 4 * left[0]);
    EXPECT_GT(left[1], 4 * std::fabs(left[2]));
    EXPECT_GT(right[2], 0.02);
    EXPECT_GT(right[2], 4 * right[0]);
    EXPECT_GT(right[2], 4 * right[1]);
}

} // namespace
