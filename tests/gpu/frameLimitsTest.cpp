// The limit test at the start of renderFrame. This file is built twice: with
// the limits off, as the program ships, and with them enforced.
#include <gtest/gtest.h>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "gpuTestSupport.h"
#include "host/config.h"

using namespace gputest;

namespace {

const char* const addOne = "#version 460\n"
                           "uniform vec3 u;uniform sampler2D fr;out vec3 c;"
                           "void main(){c=texture(fr,gl_FragCoord.xy/u.xy).rgb+1;}";

class FrameLimits : public PipelineTest {
protected:
    void SetUp() override
    {
        PipelineTest::SetUp();
        if (IsSkipped())
            return;
        renderState.pathTracerProgram = buildFromText(addOne);
    }
};

// Each case starts from the given time and count, with both buffers holding
// a marker sum and the window a marker colour, and calls renderFrame twice.
TEST_F(FrameLimits, EnforcedLimitsStopDrawingAndOffTheyDoNot)
{
    struct Case {
        float elapsed;
        float countBefore;
        bool stopsWhenEnforced;
    };
    const Case cases[] = {
        {0.0f, 0.0f, false},      {29.99f, 510.0f, false}, {30.0f, 0.0f, true},
        {0.0f, 512.0f, true},     {1000.0f, 100.0f, true}, {10.0f, 700.0f, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE("elapsed " + std::to_string(test.elapsed) + ", count " + std::to_string(test.countBefore));
        const std::vector<float> marker(width * height * 4, 4.0f);
        writeFloatTexture(renderState.textures[0], marker);
        writeFloatTexture(renderState.textures[1], marker);
        entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, 0);
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        const std::vector<unsigned char> windowBefore = readWindow();
        renderState.pingIndex = 0;
        renderState.sampleCount = test.countBefore;

        renderFrame(test.elapsed);
        renderFrame(test.elapsed);

        if (limitsEnforced && test.stopsWhenEnforced) {
            EXPECT_EQ(renderState.sampleCount, test.countBefore);
            EXPECT_EQ(renderState.pingIndex, 0);
            EXPECT_EQ(readFloatTexture(renderState.textures[0]), marker);
            EXPECT_EQ(readFloatTexture(renderState.textures[1]), marker);
            EXPECT_EQ(readWindow(), windowBefore);
        } else {
            EXPECT_EQ(renderState.sampleCount, test.countBefore + 2.0f);
            EXPECT_EQ(renderState.pingIndex, 0);
            EXPECT_EQ(readFloatTexture(renderState.textures[1])[0], 6.0f) << "two frames added";
            EXPECT_NE(readWindow(), windowBefore);
        }
    }
}

} // namespace
