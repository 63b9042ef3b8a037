// Direction sampling, whole paths to the emitters, and the camera and sample
// entry (the program's own main, looked into through a macro for pt).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "sceneFrames.h"
#include "shaderProbe.h"

namespace {

using probe::Vec3;
using probe::Vec4;
using D3 = std::array<double, 3>;

D3 operator+(D3 a, D3 b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
D3 operator-(D3 a, D3 b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
D3 operator*(double s, D3 a) { return {s * a[0], s * a[1], s * a[2]}; }
double dot(D3 a, D3 b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
D3 cross(D3 a, D3 b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
D3 normalize(D3 a) { return (1 / std::sqrt(dot(a, a))) * a; }
Vec4 v4(D3 a, double w = 0) { return {float(a[0]), float(a[1]), float(a[2]), float(w)}; }
D3 d3(Vec4 a) { return {a[0], a[1], a[2]}; }

class Integrator : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(probe::ready());
        probe::resetTextures();
    }
    void TearDown() override
    {
        probe::resetTextures();
    }
};

TEST_F(Integrator, DirectionSamplerTangentChoice)
{
    // Rebuilds cd's result from its two random numbers and the tangent the
    // case expects; reports the mismatch, the height above the axis against
    // sqrt(1 - d), and the squared length against 1 - d (1 - |T|^2).
    const char* main =
        "void main(){vec4 a=arg(0),t=arg(1);vec3 n=a.xyz;float e=a.w;"
        "float d=r1(vec3(12.9898,78.233,151.7182),e),v=r1(vec3(63.7264,10.873,623.6736),e);"
        "float r=sqrt(d),g=2*acos(-1)*v;"
        "vec3 w=r*cos(g)*t.xyz+r*sin(g)*cross(n,t.xyz)+sqrt(1-d)*n;vec3 o=cd(n,e);"
        "c=vec3(length(o-w),dot(o,n)-sqrt(1-d),dot(o,o)-(1-d*(1-dot(t.xyz,t.xyz))));}";
    const double h = std::sqrt(0.75);
    struct Case {
        const char* what;
        D3 n, tangent;
    };
    const Case cases[] = {
        {"up", {0, 1, 0}, {0, 0, -1}},
        {"along x", {1, 0, 0}, {0, 0, 1}},
        {"|n.x| = .5 takes the second", {0.5, h, 0}, {0, 0, 0.5}},
        {"n.x = -.5 likewise", {-0.5, 0, h}, {-h, 0, -0.5}},
        {"|n.x| below .5 takes the first", {0.49, std::sqrt(1 - 0.49 * 0.49), 0}, {0, 0, -std::sqrt(1 - 0.49 * 0.49)}},
    };
    const double seeds[] = {27.433727, 9.312 * 3 + 2, 411.5};
    std::vector<std::vector<Vec4>> inputs;
    for (const Case& c : cases)
        for (double seed : seeds)
            inputs.push_back({v4(c.n, seed), v4(c.tangent)});
    const auto out = probe::run(main, inputs);
    for (size_t k = 0; k < out.size(); k++) {
        const char* what = cases[k / std::size(seeds)].what;
        EXPECT_LT(out[k][0], 1e-5f) << what;
        EXPECT_NEAR(out[k][1], 0, 1e-5) << what;
        EXPECT_NEAR(out[k][2], 0, 1e-5) << what;
    }
}

const char* const pathFrom = "void main(){uv=gl_FragCoord.xy/u.xy;fs=u.z;c=pt(arg(0).xyz,arg(1).xyz);}";

// Every case on `pixels` pixels and in frames 1, 2 and 9. The target is
// 1080 high, as in the program, since its height sets the march's stop ratio.
std::vector<Vec3> everywhere(const std::vector<Vec4>& path, int pixels)
{
    std::vector<Vec3> all;
    for (float frame : {1.0f, 2.0f, 9.0f}) {
        const auto out = probe::run(pathFrom, std::vector<std::vector<Vec4>>(pixels, path),
                                    probe::Uniforms{float(pixels), 1080, frame});
        all.insert(all.end(), out.begin(), out.end());
    }
    return all;
}

TEST_F(Integrator, PathsStraightToAnEmitterReturnItsColour)
{
    struct Case {
        const char* what;
        D3 origin, direction;
        Vec3 colour;
    };
    const Case cases[] = {
        {"lamp from above, no smoke on the way", {-4.5, 0.5, 4.5}, {0, -1, 0}, {2, 2, 0}},
        {"lamp from the side", {-4.0, 0.05, 4.6}, normalize({-1, -0.1, -0.2}), {2, 2, 0}},
        {"light shell through an opening", {0, 0, 0}, normalize({-4.5, 0, 9}), {1, 1, 1}},
    };
    for (const Case& c : cases)
        for (const Vec3& colour : everywhere({v4(c.origin), v4(c.direction)}, 16)) {
            EXPECT_EQ(colour, c.colour) << c.what;
        }
}

TEST_F(Integrator, PathLeavingTheRangeIsBlack)
{
    // A direction this short runs t past 24 inside the room.
    for (const Vec3& colour : everywhere({Vec4{0, 0, 0, 0}, Vec4{0.001f, 0, 0, 0}}, 4))
        EXPECT_EQ(colour, (Vec3{0, 0, 0}));
}

TEST_F(Integrator, MirrorLetteringAlwaysReflectsExactly)
{
    // A solid lettering field makes the whole slab solid. Aim at a point of
    // its mirror part so that the exact reflection runs to the lamp's centre:
    // the path returns the lamp's colour on every pixel and frame, whatever
    // the diffuse-or-glossy draw gives.
    probe::setLettering(probe::uniformTexture(64, 0), 64);
    const double a = 0.5;
    const D3 mirrorPoint = d3(scene::fromSlab({-0.05f, 0.34f, -0.03f * 0.35f}));
    const D3 normal{std::sin(a), 0, -std::cos(a)}; // the slab's face toward the viewer
    const D3 toLamp = normalize(D3{-4.5, 0, 4.5} - mirrorPoint);
    ASSERT_GT(dot(toLamp, normal), 0);
    const D3 incoming = toLamp - 2 * dot(toLamp, normal) * normal;
    const D3 origin = mirrorPoint - 0.03 * incoming;
    for (const Vec3& colour : everywhere({v4(origin), v4(incoming)}, 64))
        EXPECT_EQ(colour, (Vec3{2, 2, 0}));
}

// The plume's depth summed over sm's 256 points, on the CPU: the segment
// starts 0.4 along q, is shifted once by its start height, and the plume is
// the thin cylinder of half height 0.2 less 0.3 times the height.
double plumeDepths(D3 origin, D3 q)
{
    D3 p = origin - D3{-4.65, -1, 4.6} + 0.4 * q;
    p[0] += std::sin(p[1] * 171) * 0.01;
    p[2] += std::sin(p[1] * 50) * 0.01;
    double total = 0;
    for (int i = 0; i < 256; i++) {
        const double dx = std::hypot(p[0], p[2]) - 0.001, dy = std::fabs(p[1]) - 0.2;
        const double d = std::min(std::max(dx, dy), 0.0) + std::hypot(std::max(dx, 0.0), std::max(dy, 0.0)) - p[1] * 0.3;
        if (d < 0)
            total += -d;
        p = p + 0.0015 * q;
    }
    return total;
}

TEST_F(Integrator, SmokeIsTheDensityTimesThePlumeDepthsMet)
{
    // The density factor comes from noise read at the stretch's start; its
    // hash follows the driver's sine of large arguments, which differs
    // between compiled programs, so it is not recomputed here. Segments
    // whose stretches start at the same point share the factor, and their
    // smoke must stand in the ratio of the plume depths they meet.
    const char* main = "void main(){c=vec3(sm(arg(0).xyz,arg(1).xyz),0,0);}";
    const D3 directions[] = {{0, 1, 0}, {0, 0.6, 0}, normalize({0.3, 1, 0.1})};
    std::vector<D3> starts; // stretch starts, relative to the plume's base
    for (int k = 0; k < 16; k++)
        starts.push_back({0.002 * (k % 5) - 0.004, -0.05 + 0.012 * k, 0.001 * (k % 3)});
    std::vector<std::vector<Vec4>> inputs;
    for (const D3& start : starts)
        for (const D3& q : directions)
            inputs.push_back({v4(start + D3{-4.65, -1, 4.6} - 0.4 * q), v4(q)});
    inputs.push_back({Vec4{-4.2f, -0.8f, 4.1f, 0}, Vec4{0, 1, 0, 0}}); // far from the plume
    const auto out = probe::run(main, inputs);

    int dense = 0;
    for (size_t i = 0; i < starts.size(); i++) {
        const size_t first = i * std::size(directions);
        const D3 origin = starts[i] + D3{-4.65, -1, 4.6};
        const double reference = plumeDepths(origin - 0.4 * directions[0], directions[0]);
        ASSERT_GT(reference, 0) << "start " << i << " misses the plume";
        if (out[first][0] < 0.01f) // no density here: all three are zero
            for (size_t j = 0; j < std::size(directions); j++)
                EXPECT_LT(out[first + j][0], 0.01f * 4) << "start " << i;
        else {
            dense++;
            for (size_t j = 1; j < std::size(directions); j++) {
                const double ratio = plumeDepths(origin - 0.4 * directions[j], directions[j]) / reference;
                EXPECT_NEAR(out[first + j][0] / out[first][0], ratio, 2e-3 * std::max(1.0, ratio))
                    << "start " << i << " direction " << j;
            }
        }
    }
    EXPECT_EQ(out.back()[0], 0.0f) << "far from the plume";
    EXPECT_GT(dense, 2) << "too few starts with smoke to tell";
}

// The camera of the program's main, computed on the CPU from its constants.
struct CameraRay {
    D3 origin, direction;
};

const D3 eye{-4.35, -0.65, 4.2};
const D3 target{-8.5, -4.1, 10.5};

D3 forwardAxis() { return normalize(target - eye); }
D3 rightAxis() { return normalize(cross({0, 1, 0}, forwardAxis())); }
D3 upAxis() { return normalize(cross(forwardAxis(), rightAxis())); }

CameraRay cameraRay(double fragX, double fragY, double nsX, double nsY, double width, double height)
{
    const double sx = (2 * (fragX + nsX) - width) / height, sy = (2 * (fragY + nsY) - height) / height;
    const D3 er = normalize({sx, sy, 12});
    const D3 ww = forwardAxis(), uu = rightAxis(), vv = upAxis();
    const D3 go{0.005 * (2 * nsX - 1), 0.005 * (2 * nsY - 1), 0};
    const D3 gd = normalize(0.63 * er - go);
    const D3 rd = er[0] * uu + er[1] * vv + er[2] * ww + gd[0] * uu + gd[1] * vv;
    return {eye + go[0] * uu + go[1] * vv, normalize(rd)};
}

// The program's main with pt replaced by `expression` of its arguments o, d
// (main's locals are in scope), over `pixels` pixels of a pixels x 9 target.
std::vector<Vec3> entryShows(const std::string& expression, int pixels, float frame)
{
    const std::string text = "#define pt(o,d) " + expression + "\n" + probe::entryText();
    return probe::run(text, std::vector<std::vector<Vec4>>(pixels, std::vector<Vec4>{}),
                      probe::Uniforms{float(pixels), 9, frame});
}

TEST_F(Integrator, CameraAxes)
{
    const auto ww = entryShows("ww", 1, 1)[0], uu = entryShows("uu", 1, 1)[0], vv = entryShows("vv", 1, 1)[0];
    const Vec3 expected[] = {{-0.500f, -0.416f, 0.759f}, {0.835f, 0, 0.550f}, {-0.229f, 0.909f, 0.347f}};
    const Vec3 got[] = {ww, uu, vv};
    for (int axis = 0; axis < 3; axis++)
        for (int i = 0; i < 3; i++)
            EXPECT_NEAR(got[axis][i], expected[axis][i], 1e-3) << "axis " << axis << " component " << i;
}

TEST_F(Integrator, CameraRayJitterLensAndSidewaysComponents)
{
    const int pixels = 16;
    for (float frame : {1.0f, 7.0f}) {
        const auto ns = entryShows("vec3(ns,0)", pixels, frame);
        const auto origins = entryShows("o", pixels, frame);
        const auto directions = entryShows("d", pixels, frame);
        for (int k = 0; k < pixels; k++) {
            ASSERT_GE(ns[k][0], 0.0f);
            ASSERT_LT(ns[k][0], 1.0f);
            ASSERT_GE(ns[k][1], 0.0f);
            ASSERT_LT(ns[k][1], 1.0f);
            const CameraRay ray = cameraRay(k + 0.5, 0.5, ns[k][0], ns[k][1], pixels, 9);
            for (int i = 0; i < 3; i++) {
                EXPECT_NEAR(origins[k][i], ray.origin[i], 1e-5) << "pixel " << k << " frame " << frame;
                EXPECT_NEAR(directions[k][i], ray.direction[i], 1e-5) << "pixel " << k << " frame " << frame;
            }
        }
    }
}

TEST_F(Integrator, EntryAddsTheSampleToTheEarlierSum)
{
    const int pixels = 12;
    const std::string entry = probe::entryText();
    const std::vector<std::vector<Vec4>> cases(pixels);
    const probe::Uniforms frame{float(pixels), 9, 3};
    // The first frame's buffer is zero: the output is the sample itself.
    const auto first = probe::run(entry, cases, frame);
    const auto again = probe::run(entry, cases, frame);
    probe::EarlierSum earlier;
    for (int k = 0; k < pixels; k++)
        earlier.push_back({0.25f * k, 1.5f, 7.0f + k, 0});
    const auto summed = probe::run(entry, cases, frame, earlier);
    for (int k = 0; k < pixels; k++) {
        for (int i = 0; i < 3; i++) {
            // A sample may be slightly negative (the table's unclamped
            // colour blend), never undefined.
            EXPECT_TRUE(std::isfinite(first[k][i]));
            EXPECT_EQ(again[k][i], first[k][i]) << "same frame, same numbers";
            EXPECT_FLOAT_EQ(summed[k][i], first[k][i] + earlier[k][i]) << "pixel " << k;
        }
    }
}

} // namespace
