// The scene function: distances and material ids at known places, the side
// values it leaves behind, and the lettering cut from the lettering field.
#include <gtest/gtest.h>

#include "sceneFrames.h"
#include "shaderProbe.h"

namespace {

using probe::Vec3;
using probe::Vec4;

const char* const sceneAt = "void main(){vec2 r=h(arg(0).xyz);c=vec3(r,0);}";

struct Place {
    const char* what;
    Vec4 point;
    float distance;
    int id;
};

void expectPlaces(const std::vector<Place>& places, float tolerance)
{
    std::vector<std::vector<Vec4>> inputs;
    for (const Place& p : places)
        inputs.push_back({p.point});
    const auto out = probe::run(sceneAt, inputs);
    for (size_t k = 0; k < places.size(); k++) {
        EXPECT_NEAR(out[k][0], places[k].distance, tolerance) << places[k].what;
        EXPECT_EQ(out[k][1], float(places[k].id)) << places[k].what;
    }
}

class Scene : public testing::Test {
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

TEST_F(Scene, RoomOpeningsAndLight)
{
    expectPlaces({
                     {"room centre", {0, 0, 0, 0}, 3.7f, 1},
                     {"opening in the z = +9 wall, mid-wall", {-4.5f, 0, 9, 0}, 0, 0},
                     {"extra opening, mid-wall", {-5.6f, 0, 9, 0}, 0, 0},
                     {"opening in the x = -9 wall, mid-wall", {-9, 0, 4.5f, 0}, 0, 0},
                     {"extra opening exists at z = +9 only", {-5.6f, 0, -8.8f, 0}, -0.1f, 1},
                     {"strip between extra and regular opening", {-5.05f, 0, 8.8f, 0}, -0.05f, 1},
                     {"in an opening, near its reveal", {1.1f, 0, 8.85f, 0}, 0.1f, 1},
                     {"in an opening, mid-way: the light is nearer", {1.5f, 0, 8.85f, 0}, 0.15f, 0},
                     {"inside the light shell", {0, 5, 0, 0}, -1, 0},
                 },
                 1e-5f);
}

TEST_F(Scene, TableLampAndTin)
{
    const float tinX = -4.65f, tinZ = 4.7f;
    // At the groove circle's radius less 0.0005: in the first groove, and
    // half-way in angle between two grooves.
    const double r = 0.0595, half = scene::pi / 100;
    expectPlaces({
                     {"table centre (a plank joint)", {-4.5f, -1, 4.5f, 0}, -0.03f, 2},
                     {"lamp centre", {-4.5f, 0, 4.5f, 0}, -0.2f, 10},
                     {"tin axis at the label disc", {tinX, -0.926f, tinZ, 0}, -0.00001f, 3},
                     {"tin axis in the body", {tinX, -0.95f, tinZ, 0}, -0.02f, 7},
                     {"first groove", {float(tinX + r), -0.926f, tinZ, 0}, 0.0005f, 7},
                     {"between grooves",
                      {float(tinX + r * std::cos(half)), -0.926f, float(tinZ + r * std::sin(half)), 0},
                      -0.0005f,
                      7},
                 },
                 2e-6f);
}

TEST_F(Scene, PipeBandMouthpieceAndFlattening)
{
    expectPlaces({
                     // Band and mouthpiece are equally near; the band came first.
                     {"beside the band", scene::fromStem({0.0076f, 0.0375f, 0}), 0.001f, 5},
                     {"beside the mouthpiece, away from the dot", scene::fromStem({-0.0076f, 0.045f, 0}), 0.001f, 6},
                     // Flattening: factor 1 at stem y 0.05, about 3 near the tip.
                     {"mouthpiece at stem y 0.05", scene::fromStem({0.005f, 0.05f, 0}), 0.005f - 0.0066f, 6},
                     {"mouthpiece near the tip",
                      scene::fromStem({0.002f, 0.149f, 0}),
                      0.002f * (1 + (0.149f - 0.05f) * 20) - 0.0066f,
                      6},
                     {"ember centre", scene::fromStem({0.016f, -0.035f, 0}), -0.01f, 9},
                     {"mouthpiece dot", scene::fromStem({0.006f, 0.045f, 0}), -0.001f, 8},
                 },
                 2e-6f);

    // Below stem y 0 the mouthpiece's other half is absent: its axis there
    // lies inside the table top.
    const auto out = probe::run(sceneAt, {{scene::fromStem({0, -0.1f, 0})}});
    EXPECT_EQ(out[0][1], 2.0f);
}

TEST_F(Scene, LetteringSlabFollowsTheField)
{
    const float face = -0.03f * 0.35f; // local z of the face toward the viewer
    const float open = 0.02f * 0.995f * 0.35f;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> field;
        Vec3 local;
        float distance;
        int id;
    };
    const auto solid = probe::uniformTexture(1024, 0);
    const auto clear = probe::uniformTexture(1024, 255);
    // Left half of the columns solid; rows from 900 up open.
    auto leftSolid = clear;
    auto lowSolid = clear;
    for (int row = 0; row < 1024; row++)
        for (int col = 0; col < 1024; col++) {
            const size_t at = (size_t(row) * 1024 + col) * 4;
            if (col < 512)
                leftSolid[at] = 0;
            if (row < 900)
                lowSolid[at] = 0;
        }
    const std::vector<Case> cases = {
        {"face, solid field", solid, {0, 0.3f, face}, 0, 12},
        {"face, open field", clear, {0, 0.3f, face}, open, 12},
        {"middle plane, solid: the field's floor", solid, {-0.1f, 0.32f, 0}, -0.02f * 0.005f * 0.35f, 12},
        {"beside the slab, the box bounds it", solid, {0.2f, 0.32f, 0}, 0.025f, 5},
        {"mirror part ends at local x 0.01", solid, {0.0099f, 0.3f, face}, 0, 12},
        {"gold part beyond it", solid, {0.0101f, 0.3f, face}, 0, 5},
        {"u runs along local +x: left solid", leftSolid, {-0.1f, 0.3f, face}, 0, 12},
        {"u runs along local +x: right open", leftSolid, {0.1f, 0.3f, face}, open, 5},
        {"v runs up: low rows solid", lowSolid, {0.05f, 0.3f, face}, 0, 5},
        {"v runs up: top rows open", lowSolid, {0.05f, 0.335f, face}, open, 5},
    };
    for (const Case& c : cases) {
        probe::setLettering(c.field, 1024);
        const auto out = probe::run(sceneAt, {{scene::fromSlab(c.local)}});
        EXPECT_NEAR(out[0][0], c.distance, 2e-6) << c.what;
        EXPECT_EQ(out[0][1], float(c.id)) << c.what;
    }
}

TEST_F(Scene, EveryCallLeavesItsOwnWoodValues)
{
    // h at the table first, then at the point; the side values must be the
    // point's: w1 from the table's frame, w2 from the world point.
    const char* main = "void main(){vec3 p=arg(0).xyz;h(vec3(-4.4,-1,4.4));h(p);"
                       "vec3 b=p-vec3(-4.5,-1,4.5);b.xz=q(b.xz,.1);"
                       "c=vec3(w1,w2,abs(w1-wd(b,vec3(3,1,1),true))+abs(w2-wd(p,vec3(12,12,12),false)));}";
    const std::vector<std::vector<Vec4>> walls = {
        {{8.7f, 1.1f, -3.3f, 0}}, {{-2.2f, 3.7f, 6.1f, 0}}, {{0.4f, -0.3f, -8.7f, 0}}, {{-8.7f, -2.5f, 2.9f, 0}}};
    const auto out = probe::run(main, walls);
    bool anyWood = false;
    for (size_t k = 0; k < out.size(); k++) {
        EXPECT_LT(out[k][2], 1e-6f) << "wall point " << k;
        anyWood = anyWood || out[k][0] > 0 || out[k][1] > 0;
    }
    EXPECT_TRUE(anyWood);
}

} // namespace
