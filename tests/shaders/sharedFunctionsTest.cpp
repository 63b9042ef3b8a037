// The union and turning macros and the shared pattern, noise and distance
// functions, evaluated on the GPU.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "shaderProbe.h"

namespace {

using probe::Vec3;
using probe::Vec4;

class SharedFunctions : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(probe::ready());
    }
};

TEST_F(SharedFunctions, UnionKeepsTheNearerPairAndTheFirstOnATie)
{
    const char* main = "void main(){vec4 a=arg(0);vec2 r=a.xy;x(a.zw) c=vec3(r,0);}";
    struct Case {
        Vec4 held_candidate;
        float distance, id;
    };
    const Case cases[] = {
        {{1, 5, 1, 7}, 1, 5},     // tie: the pair held stays
        {{1, 5, 0.5f, 7}, 0.5f, 7},
        {{1, 5, 2, 7}, 1, 5},
        {{-0.1f, 2, -0.2f, 3}, -0.2f, 3},
    };
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({c.held_candidate});
    const auto out = probe::run(main, inputs);
    for (size_t k = 0; k < std::size(cases); k++) {
        EXPECT_EQ(out[k][0], cases[k].distance) << "case " << k;
        EXPECT_EQ(out[k][1], cases[k].id) << "case " << k;
    }
}

TEST_F(SharedFunctions, TurnMacroTurnsByMinusTheAngle)
{
    const char* main = "void main(){vec4 a=arg(0);c=vec3(q(a.xy,a.z),0);}";
    const float quarter = std::numbers::pi_v<float> / 2;
    struct Case {
        Vec4 pointAngle;
        float x, y;
    };
    const Case cases[] = {
        {{1, 0, quarter, 0}, 0, -1},
        {{0, 1, quarter, 0}, 1, 0},
        {{1, 0, 0.1f, 0}, std::cos(0.1f), -std::sin(0.1f)},
        {{2, 3, -0.35f, 0}, std::cos(-0.35f) * 2 + std::sin(-0.35f) * 3, -std::sin(-0.35f) * 2 + std::cos(-0.35f) * 3},
    };
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({c.pointAngle});
    const auto out = probe::run(main, inputs);
    for (size_t k = 0; k < std::size(cases); k++) {
        EXPECT_NEAR(out[k][0], cases[k].x, 1e-6) << "case " << k;
        EXPECT_NEAR(out[k][1], cases[k].y, 1e-6) << "case " << k;
    }
}

TEST_F(SharedFunctions, PolarFoldKeepsLengthAndFoldsIntoTheFirstSector)
{
    // Returns the folded point and its angle.
    const char* main = "void main(){vec2 f=pm(arg(0).xy);c=vec3(f,atan(f.y,f.x+1e-30));}";
    const double sector = 2 * std::numbers::pi / 100;
    struct Case {
        double radius, angle, foldedAngle;
    };
    const Case cases[] = {
        {1.0, 0.0, 0.0},                                       // on the first axis: itself
        {0.06, sector / 2 + 1e-3, -sector / 2 + 1e-3},          // just past a boundary
        {0.06, sector / 2 - 1e-3, sector / 2 - 1e-3},           // just before it
        {2.5, 37 * sector + 0.01, 0.01},                       // 37 sectors on
        {0.3, -3 * sector - 0.02, -0.02},                      // backwards
        {1.0, std::numbers::pi - 1e-3, std::numbers::pi - 1e-3 - 50 * sector},
    };
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({Vec4{float(c.radius * std::cos(c.angle)), float(c.radius * std::sin(c.angle)), 0, 0}});
    const auto out = probe::run(main, inputs);
    for (size_t k = 0; k < std::size(cases); k++) {
        EXPECT_NEAR(std::hypot(out[k][0], out[k][1]), cases[k].radius, 1e-5 * cases[k].radius) << "case " << k;
        EXPECT_NEAR(out[k][2], cases[k].foldedAngle, 2e-4) << "case " << k;
    }
}

TEST_F(SharedFunctions, PolarFoldOnASectorBoundaryAndAtTheOrigin)
{
    const char* main = "void main(){vec2 f=pm(arg(0).xy);c=vec3(f,0);}";
    const double half = std::numbers::pi / 100;
    const auto out = probe::run(main, {{Vec4{float(std::cos(half)), float(std::sin(half)), 0, 0}},
                                       {Vec4{0, 0, 0, 0}}});
    // Exactly on the boundary rounding may land on either side of it; the
    // result is one of the two boundary points.
    EXPECT_NEAR(out[0][0], std::cos(half), 1e-5);
    EXPECT_NEAR(std::fabs(out[0][1]), std::sin(half), 1e-4);
    // The angle of the origin is undefined, the fold of it is not.
    EXPECT_EQ(out[1][0], 0.0f);
    EXPECT_EQ(out[1][1], 0.0f);
}

TEST_F(SharedFunctions, SmoothUnion)
{
    const char* main = "void main(){vec4 a=arg(0);c=vec3(su(a.x,a.y,a.z),0,0);}";
    struct Case {
        float d1, d2, k, expected;
    };
    const Case cases[] = {
        {0.5f, 0.5f, 0.2f, 0.5f - 0.05f},  // equal: d - k/4
        {-1, -1, 0.02f, -1 - 0.005f},
        {0.3f, 0.5f, 0.2f, 0.3f},          // d2 - d1 = k
        {0.3f, 2.0f, 0.2f, 0.3f},          // far apart
        {2.0f, 0.3f, 0.2f, 0.3f},          // the other way round
        {0.4f, 0.5f, 0.2f, 0.5f + (0.4f - 0.5f) * 0.75f - 0.2f * 0.75f * 0.25f},
    };
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({Vec4{c.d1, c.d2, c.k, 0}});
    const auto out = probe::run(main, inputs);
    for (size_t k = 0; k < std::size(cases); k++)
        EXPECT_NEAR(out[k][0], cases[k].expected, 1e-6) << "case " << k;
}

TEST_F(SharedFunctions, NoiseIsZeroAtTheOriginAndStaysInRange)
{
    const char* main = "void main(){vec3 p=arg(0).xyz;c=vec3(n3(p),f3(p),0);}";
    std::vector<std::vector<Vec4>> inputs{{Vec4{0, 0, 0, 0}}};
    for (int k = 1; k < 200; k++)
        inputs.push_back({Vec4{std::sin(k * 1.7f) * 40, std::cos(k * 0.9f) * 40, k * 0.37f - 30, 0}});
    const auto out = probe::run(main, inputs);
    EXPECT_EQ(out[0][0], 0.0f);
    EXPECT_EQ(out[0][1], 0.0f);
    for (size_t k = 1; k < out.size(); k++) {
        EXPECT_GE(out[k][0], 0.0f) << k;
        EXPECT_LT(out[k][0], 1.0f) << k;
        EXPECT_GE(out[k][1], 0.0f) << k;
        EXPECT_LT(out[k][1], 1.75f) << k;
    }
}

TEST_F(SharedFunctions, DistanceFunctions)
{
    // a = point, b = (shape parameters); the shape is chosen by b.w.
    const char* main = "void main(){vec3 p=arg(0).xyz;vec4 b=arg(1);"
                       "c=vec3(b.w<.5?bx(p,b.xyz):b.w<1.5?cc(p,b.x,b.y):rc(p,b.x,b.y,b.z),0,0);}";
    struct Case {
        Vec4 point, shape;
        float expected;
    };
    const Case cases[] = {
        // box with half extents
        {{0, 0, 0, 0}, {0.3f, 0.2f, 0.5f, 0}, -0.2f},
        {{2, 0, 0, 0}, {1, 1, 1, 0}, 1},
        {{2, 2, 1, 0}, {1, 1, 1, 0}, std::sqrt(2.0f)},
        {{0.9f, 0, 0.5f, 0}, {1, 1, 1, 0}, -0.1f},
        // cylinder: half height, then radius
        {{0, 0, 0, 0}, {0.3f, 0.1f, 0, 1}, -0.1f},
        {{0, 0, 0, 0}, {0.1f, 0.3f, 0, 1}, -0.1f},
        {{0, 2, 0, 0}, {1, 0.5f, 0, 1}, 1},
        {{0.3f, 0, 0.4f, 0}, {1, 0.2f, 0, 1}, 0.3f},
        // filleted cylinder: radius 2*ra, half height h+rb, fillet rb
        {{0, 0, 0, 0}, {0.5f, 0.1f, 1, 2}, -1},
        {{0, 0, 0, 0}, {0.5f, 0.1f, 0.2f, 2}, -0.3f},
        {{1.5f, 0, 0, 0}, {0.5f, 0.1f, 1, 2}, 0.5f},
        {{0, 1.6f, 0, 0}, {0.5f, 0.1f, 1, 2}, 0.5f},
    };
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({c.point, c.shape});
    const auto out = probe::run(main, inputs);
    for (size_t k = 0; k < std::size(cases); k++)
        EXPECT_NEAR(out[k][0], cases[k].expected, 1e-6) << "case " << k;
}

TEST_F(SharedFunctions, WoodStaysInRangeAndIsZeroOnPlankJoints)
{
    // a = point, b = scale; b.w switches the planks on.
    const char* main = "void main(){vec4 b=arg(1);c=vec3(wd(arg(0).xyz,b.xyz,b.w>.5),0,0);}";
    std::vector<std::vector<Vec4>> inputs;
    for (int k = 0; k < 300; k++) {
        const Vec4 point{std::sin(k * 2.1f) * 9, std::cos(k * 1.3f) * 4, k * 0.061f - 9, 0};
        inputs.push_back({point, Vec4{3, 1, 1, float(k % 2)}});
        inputs.push_back({point, Vec4{12, 12, 12, 0}});
    }
    auto out = probe::run(main, inputs);
    for (size_t k = 0; k < out.size(); k++) {
        EXPECT_GE(out[k][0], 0.0f) << k;
        EXPECT_LE(out[k][0], 1.0f) << k;
    }

    // Joints where ten times the scaled x is whole (exact in binary).
    const Vec4 joints[][2] = {
        {{0, 0.3f, 0.7f, 0}, {1, 1, 1, 1}},
        {{0.5f, -0.2f, 0.1f, 0}, {1, 1, 1, 1}},
        {{-0.5f, 1.3f, 2.0f, 0}, {1, 1, 1, 1}},
        {{0.125f, 0.4f, -0.6f, 0}, {4, 1, 1, 1}},
        {{-1.25f, 0.9f, 0.2f, 0}, {2, 3, 5, 1}},
    };
    inputs.clear();
    for (const auto& j : joints)
        inputs.push_back({j[0], j[1]});
    out = probe::run(main, inputs);
    for (size_t k = 0; k < out.size(); k++)
        EXPECT_EQ(out[k][0], 0.0f) << "joint " << k;
}

} // namespace
