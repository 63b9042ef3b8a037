// renderFrame, accumulatePass and presentPass with a small counting shader in
// place of the path tracer.
#include <gtest/gtest.h>

#include <array>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "gpuTestSupport.h"

using namespace gputest;

namespace {

// Adds a known sample to the previous sum: 1/8 in red, u.z/8 in green and a
// per-pixel value in blue. Binary fractions, so every sum is exact. The label
// and lettering samplers are read (to no effect) so that they stay active.
const char* const countingShader =
    "#version 460\n"
    "uniform vec3 u;uniform sampler2D fr,lb,st;out vec3 c;"
    "void main(){vec2 uv=gl_FragCoord.xy/u.xy;"
    "float id=floor(gl_FragCoord.x)+8*floor(gl_FragCoord.y)+1;"
    "c=texture(fr,uv).rgb+vec3(0.125,0.125*u.z,id/64)+min(texture(lb,uv).r+texture(st,uv).r,0);}";

float pixelId(int i) { return static_cast<float>(i + 1); }

// What a buffer holds after `samples` frames of the counting shader have
// summed into it, texel i.
std::array<float, 3> countedSum(int samples, int i)
{
    const float n = static_cast<float>(samples);
    return {0.125f * n, 0.125f * n * (n + 1) / 2, n * pixelId(i) / 64};
}

void expectHolds(GLuint texture, int samples, const char* which)
{
    SCOPED_TRACE(which);
    const std::vector<float> texels = readFloatTexture(texture);
    for (int i = 0; i < width * height; i++) {
        const std::array<float, 3> sum = countedSum(samples, i);
        for (int ch = 0; ch < 3; ch++)
            ASSERT_EQ(texels[i * 4 + ch], sum[ch]) << "texel " << i << " channel " << ch;
    }
}

GLint uniformInt(GLuint program, const char* name)
{
    GLint value = -1;
    const GLint location = entry<PFNGLGETUNIFORMLOCATIONPROC>("glGetUniformLocation")(program, name);
    entry<PFNGLGETUNIFORMIVPROC>("glGetUniformiv")(program, location, &value);
    return value;
}

std::array<float, 3> uniformU(GLuint program)
{
    std::array<float, 3> value{-1, -1, -1};
    const GLint location = entry<PFNGLGETUNIFORMLOCATIONPROC>("glGetUniformLocation")(program, "u");
    entry<PFNGLGETUNIFORMFVPROC>("glGetUniformfv")(program, location, value.data());
    return value;
}

GLint currentInt(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

GLuint colourAttachment()
{
    GLint name = -1;
    entry<PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC>("glGetFramebufferAttachmentParameteriv")(
        GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    return static_cast<GLuint>(name);
}

class FramePasses : public PipelineTest {
protected:
    void SetUp() override
    {
        PipelineTest::SetUp();
        if (IsSkipped())
            return;
        renderState.pathTracerProgram = buildFromText(countingShader);
    }
};

// Which buffer each of the first frames writes and reads, and what the
// window shows: the written sum divided by the count.
TEST_F(FramePasses, FirstThreeFramesAlternateTheBuffers)
{
    const GLuint a = renderState.textures[0];
    const GLuint b = renderState.textures[1];
    struct Frame {
        float uz;
        int samplesInA;
        int samplesInB;
        int pingAfter;
    };
    const Frame frames[] = {{1, 1, 0, 1}, {2, 1, 2, 0}, {3, 3, 2, 1}};
    for (const Frame& frame : frames) {
        SCOPED_TRACE("frame " + std::to_string(static_cast<int>(frame.uz)));
        renderFrame(0.0f);

        EXPECT_EQ(renderState.sampleCount, frame.uz);
        EXPECT_EQ(renderState.pingIndex, frame.pingAfter);
        EXPECT_EQ(uniformU(renderState.pathTracerProgram),
                  (std::array<float, 3>{width, height, frame.uz}));
        expectHolds(a, frame.samplesInA, "A");
        expectHolds(b, frame.samplesInB, "B");

        const int n = static_cast<int>(frame.uz);
        const std::vector<unsigned char> window = readWindow();
        for (int i = 0; i < width * height; i++) {
            const std::array<float, 3> sum = countedSum(n, i);
            for (int ch = 0; ch < 3; ch++)
                ASSERT_NEAR(window[i * 4 + ch], shownByte(sum[ch] / n), 1) << "pixel " << i << " channel " << ch;
        }
    }
}

// The accumulate pass writes textures[pingIndex] and reads the other buffer
// only; the present pass shows the buffer just written; both set their
// uniforms as the shaders expect.
TEST_F(FramePasses, PassesBindTheirTargetsSourcesAndUniforms)
{
    for (int ping : {0, 1}) {
        SCOPED_TRACE("pingIndex " + std::to_string(ping));
        renderState.pingIndex = ping;
        renderState.sampleCount = 7.0f;

        accumulatePass();
        EXPECT_EQ(currentInt(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(renderState.framebuffer));
        EXPECT_EQ(colourAttachment(), renderState.textures[ping]);
        EXPECT_EQ(currentInt(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
        EXPECT_EQ(boundTexture(GL_TEXTURE0), renderState.textures[1 - ping]);
        const GLuint tracer = renderState.pathTracerProgram;
        EXPECT_EQ(currentInt(GL_CURRENT_PROGRAM), static_cast<GLint>(tracer));
        EXPECT_EQ(uniformU(tracer), (std::array<float, 3>{width, height, 7.0f}));
        EXPECT_EQ(uniformInt(tracer, "fr"), 0);
        EXPECT_EQ(uniformInt(tracer, "lb"), 1);
        EXPECT_EQ(uniformInt(tracer, "st"), 2);
        // Units 1 and 2 keep the painted textures.
        EXPECT_EQ(boundTexture(GL_TEXTURE1), renderState.textures[2]);
        EXPECT_EQ(boundTexture(GL_TEXTURE2), renderState.textures[3]);

        renderState.pingIndex = 1 - ping;
        presentPass();
        EXPECT_EQ(currentInt(GL_DRAW_FRAMEBUFFER_BINDING), 0);
        EXPECT_EQ(boundTexture(GL_TEXTURE0), renderState.textures[ping]);
        const GLuint present = renderState.presentProgram;
        EXPECT_EQ(currentInt(GL_CURRENT_PROGRAM), static_cast<GLint>(present));
        EXPECT_EQ(uniformU(present), (std::array<float, 3>{width, height, 7.0f}));
        EXPECT_EQ(uniformInt(present, "fr"), 0);
    }
}

// The passes alone change neither the count nor the ping index: the still
// renderer calls them per tile.
TEST_F(FramePasses, PassesAloneLeaveCountAndPingIndex)
{
    renderState.sampleCount = 1.0f;
    accumulatePass();
    presentPass();
    EXPECT_EQ(renderState.sampleCount, 1.0f);
    EXPECT_EQ(renderState.pingIndex, 0);
    expectHolds(renderState.textures[0], 1, "A");
}

// A path tracer that failed to compile is used all the same; frames go on.
TEST_F(FramePasses, BrokenPathTracerDoesNotStopTheFrames)
{
    renderState.pathTracerProgram = buildFromText("#version 460\nvoid main(){nope();}");
    while (glGetError() != GL_NO_ERROR) {
    }
    for (int i = 0; i < 3; i++)
        renderFrame(0.0f);
    EXPECT_EQ(renderState.sampleCount, 3.0f);
    EXPECT_EQ(renderState.pingIndex, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION)) << "the broken program was used";
}

} // namespace
