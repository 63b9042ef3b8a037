// The ray marcher's budgets, back-off and stop rules, and the normal
// estimate with the side values it leaves.
#include <gtest/gtest.h>

#include <cmath>

#include "shaderProbe.h"

namespace {

using probe::Vec4;

class March : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(probe::ready());
        probe::resetTextures();
    }
};

// arg(0) = origin, arg(1) = direction and segment index.
const char* const marchFrom = "void main(){vec4 d=arg(1);vec2 r=is(arg(0).xyz,d.xyz,int(d.w+.5));c=vec3(r,0);}";

TEST_F(March, FromInsideASolidStepsBackOnceAndStops)
{
    // The second pass sees a negative t, so its ratio is below the stop
    // ratio: t is 1.2 times the (negative) distance at the origin.
    struct Case {
        const char* what;
        Vec4 origin, direction;
        float distance;
    };
    const Case cases[] = {
        {"table centre", {-4.5f, -1, 4.5f, 0}, {0, 1, 0, 0}, -0.03f},
        {"lamp centre", {-4.5f, 0, 4.5f, 0}, {0.6f, 0, 0.8f, 3}, -0.2f},
        {"solid wall", {-5.6f, 0, -8.8f, 0}, {0, 0, 1, 1}, -0.1f},
    };
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({c.origin, c.direction});
    const auto out = probe::run(marchFrom, inputs);
    for (size_t k = 0; k < std::size(cases); k++)
        EXPECT_NEAR(out[k][0], 1.2f * cases[k].distance, 1e-6) << cases[k].what;
}

TEST_F(March, BudgetIs64PassesForTheCameraRayAnd32Later)
{
    // Creeping along the floor 0.001 above it: every pass advances by
    // 1.2 * 0.001 and the stop ratio is far away, so only the budget ends it.
    const float height = 0.001f;
    const Vec4 origin{0.3f, -3.7f + height, 0.2f, 0};
    struct Case {
        int segment, passes;
    };
    const Case cases[] = {{0, 64}, {1, 32}, {7, 32}};
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({origin, Vec4{1, 0, 0, float(c.segment)}});
    const auto out = probe::run(marchFrom, inputs);
    for (size_t k = 0; k < std::size(cases); k++)
        EXPECT_NEAR(out[k][0], cases[k].passes * 1.2f * height, 2e-5) << "segment " << cases[k].segment;
}

TEST_F(March, FirstOverstepBacksOffByAFifthThenPlainSteps)
{
    // From 1 above the floor, straight down with a direction of length 0.75:
    // the first advance (1.2) ends 0.1 above the floor, and the spheres of
    // radius 1 and 0.1 leave the step uncovered, so the march backs off by
    // 0.24 to t = 0.96 (0.28 above the floor). A large stop ratio (tiny u.y)
    // stops it there; with u.y = 1 (ratio 0.1) it takes one plain step of
    // 0.28 to t = 1.24, where the ratio 0.07 / 1.24 stops it.
    // Without an overstep (direction length 0.5) the first advance stands.
    const Vec4 origin{0, -2.7f, 0, 0};
    struct Case {
        const char* what;
        float directionLength, imageHeight, t;
    };
    const Case cases[] = {
        {"overstep, stop next pass", 0.75f, 0.001f, 0.96f},
        {"overstep, one plain step after", 0.75f, 1.0f, 1.24f},
        {"no overstep", 0.5f, 0.001f, 1.2f},
    };
    for (const Case& c : cases) {
        const auto out = probe::run(marchFrom, {{origin, Vec4{0, -c.directionLength, 0, 1}}},
                                    probe::Uniforms{1920, c.imageHeight, 1});
        EXPECT_NEAR(out[0][0], c.t, 1e-5) << c.what;
        EXPECT_EQ(out[0][1], 1.0f) << c.what;
    }
}

TEST_F(March, StopsBeyondTheRangeOnThePassThatSeesIt)
{
    // A very short direction makes t grow fast while the point hardly moves:
    // from 3.4 below the ceiling every pass adds 1.2 * 3.4 = 4.08, and the
    // pass that starts at 6 * 4.08 = 24.48, the first beyond 24, stops.
    const auto out = probe::run(marchFrom, {{Vec4{0, 0.3f, 0, 0}, Vec4{0.001f, 0, 0, 0}}});
    EXPECT_NEAR(out[0][0], 6 * 1.2f * 3.4f, 0.005f);
}

TEST_F(March, NormalsOfPlainSurfaces)
{
    const char* main = "void main(){c=nn(arg(0).xyz);}";
    struct Case {
        const char* what;
        Vec4 point;
        float nx, ny, nz;
    };
    const Case cases[] = {
        {"floor", {2, -3.7f, -3, 0}, 0, 1, 0},
        {"ceiling", {-1, 3.7f, 2, 0}, 0, -1, 0},
        {"wall x = +8.7, above the openings", {8.7f, 3, 0.5f, 0}, -1, 0, 0},
        {"wall z = -8.7, above the openings", {-2, 3, -8.7f, 0}, 0, 0, 1},
        {"top of the lamp", {-4.5f, 0.2f, 4.5f, 0}, 0, 1, 0},
        {"side of the lamp", {-4.3f, 0, 4.5f, 0}, 1, 0, 0},
    };
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        inputs.push_back({c.point});
    const auto out = probe::run(main, inputs);
    for (size_t k = 0; k < std::size(cases); k++) {
        EXPECT_NEAR(out[k][0], cases[k].nx, 1e-3) << cases[k].what;
        EXPECT_NEAR(out[k][1], cases[k].ny, 1e-3) << cases[k].what;
        EXPECT_NEAR(out[k][2], cases[k].nz, 1e-3) << cases[k].what;
    }
}

TEST_F(March, NormalLeavesTheWoodValuesOfItsLastSample)
{
    // After nn(p): the values of h(p - (0,0,0.0003)), which differ from h(p)'s.
    const char* main = "void main(){vec3 p=arg(0).xyz;nn(p);float a=w1,b=w2;"
                       "h(p-vec3(0,0,.0003));float e=abs(a-w1)+abs(b-w2);"
                       "h(p);c=vec3(e,abs(a-w1)+abs(b-w2),0);}";
    const std::vector<std::vector<Vec4>> points = {
        {{-4.43f, -0.97f, 4.61f, 0}}, {{-4.71f, -0.97f, 4.32f, 0}}, {{-4.62f, -0.95f, 4.6f, 0}}};
    const auto out = probe::run(main, points);
    for (size_t k = 0; k < out.size(); k++) {
        EXPECT_EQ(out[k][0], 0.0f) << "point " << k;
        EXPECT_GT(out[k][1], 0.0f) << "point " << k;
    }
}

} // namespace
