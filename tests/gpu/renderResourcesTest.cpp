// initResources: the programs, the four textures, the framebuffer object and
// the texture units it leaves for the frames.
#include <gtest/gtest.h>

#include <cstring>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "gpuTestSupport.h"
#include "textures/labelTexture.h"
#include "textures/letteringTexture.h"

using namespace gputest;

namespace {

GLint levelParameter(GLuint texture, GLint level, GLenum what)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}

GLint textureParameter(GLuint texture, GLenum what)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
    return value;
}

using RenderResources = PipelineTest;

TEST_F(RenderResources, BuildsThePathTracerThenThePresentShader)
{
    const std::string tracer = std::to_string(renderState.pathTracerProgram);
    const std::string present = std::to_string(renderState.presentProgram);
    ASSERT_NE(renderState.pathTracerProgram, renderState.presentProgram);
    // The path tracer's report comes first, whichever form it takes; the
    // present shader compiles cleanly.
    const bool tracerFirst = initReport.rfind("SHADER COMPILE LOG (Prog " + tracer + "):\n", 0) == 0 ||
                             initReport.rfind("Shader prog " + tracer + ": OK\n", 0) == 0;
    EXPECT_TRUE(tracerFirst) << initReport;
    const std::string presentLine = "Shader prog " + present + ": OK\n";
    ASSERT_GE(initReport.size(), presentLine.size());
    EXPECT_EQ(initReport.substr(initReport.size() - presentLine.size()), presentLine) << initReport;
}

TEST_F(RenderResources, TexturesHaveTheirSizesFormatsAndFilters)
{
    struct Slot {
        int index;
        GLint width;
        GLint height;
        GLint internalFormat;
        GLint filter;
    };
    const Slot slots[] = {
        {0, width, height, GL_RGBA32F, GL_NEAREST},
        {1, width, height, GL_RGBA32F, GL_NEAREST},
        {2, 1024, 1024, GL_RGBA, GL_LINEAR},
        {3, 1024, 1024, GL_RGBA, GL_LINEAR},
    };
    for (const Slot& slot : slots) {
        SCOPED_TRACE("texture slot " + std::to_string(slot.index));
        const GLuint texture = renderState.textures[slot.index];
        ASSERT_NE(texture, 0u);
        EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), slot.width);
        EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_HEIGHT), slot.height);
        EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), slot.internalFormat);
        EXPECT_EQ(levelParameter(texture, 1, GL_TEXTURE_WIDTH), 0) << "no mipmaps";
        EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MIN_FILTER), slot.filter);
        EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MAG_FILTER), slot.filter);
        EXPECT_EQ(textureParameter(texture, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(textureParameter(texture, GL_TEXTURE_WRAP_T), GL_REPEAT);
    }
}

TEST_F(RenderResources, LeavesUnitsFramebufferAndCountsForTheFirstFrame)
{
    GLint value = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE0);
    EXPECT_EQ(boundTexture(GL_TEXTURE0), renderState.textures[1]);
    EXPECT_EQ(boundTexture(GL_TEXTURE1), renderState.textures[2]);
    EXPECT_EQ(boundTexture(GL_TEXTURE2), renderState.textures[3]);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &value);
    EXPECT_EQ(value, 0) << "the window's framebuffer stays bound";

    ASSERT_NE(renderState.framebuffer, 0u);
    EXPECT_TRUE(entry<PFNGLISFRAMEBUFFERPROC>("glIsFramebuffer")(renderState.framebuffer));
    entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, renderState.framebuffer);
    entry<PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC>("glGetFramebufferAttachmentParameteriv")(
        GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &value);
    entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(value, GL_NONE) << "nothing attached until the first frame";

    EXPECT_EQ(renderState.pingIndex, 0);
    EXPECT_EQ(renderState.sampleCount, 0.0f);
}

TEST_F(RenderResources, AccumulationBuffersReadZero)
{
    for (int slot : {0, 1}) {
        SCOPED_TRACE("accumulation buffer " + std::to_string(slot));
        const std::vector<float> texels = readFloatTexture(renderState.textures[slot]);
        for (size_t i = 0; i < texels.size(); i++)
            ASSERT_EQ(texels[i], 0.0f) << "component " << i;
    }
}

// A second set-up (as the still renderer may make at another size) starts
// from zero again, and leaves the caller's clear colour and scissor test as
// it found them.
TEST_F(RenderResources, SetUpAgainStartsFromZeroAndKeepsCallerState)
{
    writeFloatTexture(renderState.textures[0], std::vector<float>(width * height * 4, 5.0f));
    renderState.pingIndex = 1;
    renderState.sampleCount = 9.0f;
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);

    captureStdout([] { initResourcesSized(width, height); });

    EXPECT_EQ(renderState.pingIndex, 0);
    EXPECT_EQ(renderState.sampleCount, 0.0f);
    for (int slot : {0, 1})
        for (float v : readFloatTexture(renderState.textures[slot]))
            ASSERT_EQ(v, 0.0f);
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    EXPECT_EQ(std::vector<GLfloat>(clearColour, clearColour + 4), (std::vector<GLfloat>{0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    glDisable(GL_SCISSOR_TEST);
}

// The painted bitmaps go to GL exactly as they lie in memory: memory row 0
// (the bottom of the picture) is texture row 0, and each pixel's bytes are
// the channels in memory order.
TEST_F(RenderResources, PaintedBitmapsAreUploadedAsTheyLie)
{
    struct Painted {
        const char* what;
        int slot;
        void* (*paint)();
    };
    const Painted painted[] = {{"label", 2, paintLabelTexture}, {"lettering", 3, paintLetteringTexture}};
    for (const Painted& p : painted) {
        SCOPED_TRACE(p.what);
        const unsigned char* bits = static_cast<const unsigned char*>(p.paint());
        if (bits == nullptr) {
            ADD_FAILURE() << "the painter returned no bitmap";
            continue;
        }
        const std::vector<unsigned char> texels = readByteTexture(renderState.textures[p.slot], 1024, 1024);
        EXPECT_EQ(std::memcmp(texels.data(), bits, texels.size()), 0);
    }
}

// What the path tracer's samplers see: unit 1 the label and unit 2 the
// lettering, the byte GDI calls blue in the red channel, t = 0 at the bottom
// row of the painted picture, and linear filtering that wraps around an edge.
TEST_F(RenderResources, SamplersSeeThePaintedPicturesUpright)
{
    // Pixel k of the target samples one place of one texture.
    const char* const probe =
        "#version 460\n"
        "uniform vec3 u;uniform sampler2D fr,lb,st;out vec3 c;"
        "const vec2 at[4]=vec2[](vec2(0.5,0.5),vec2(0.5,1023.5),vec2(100.5,200.5),vec2(0,200.5));"
        "void main(){int k=int(gl_FragCoord.x);vec2 p=at[k%4]/1024;"
        "c=k<4?texture(lb,p).rgb:k<8?texture(st,p).rgb:vec3(0);}";
    renderState.pathTracerProgram = buildFromText(probe);
    accumulatePass();
    const std::vector<float> seen = readFloatTexture(renderState.textures[0]);

    const unsigned char* const label = static_cast<const unsigned char*>(paintLabelTexture());
    const unsigned char* const lettering = static_cast<const unsigned char*>(paintLetteringTexture());
    ASSERT_NE(label, nullptr);
    ASSERT_NE(lettering, nullptr);
    // Memory byte `channel` of the pixel in column x of memory row y.
    auto byte = [](const unsigned char* bits, int x, int y, int channel) {
        return bits[(static_cast<size_t>(y) * 1024 + x) * 4 + channel] / 255.0;
    };
    struct Place {
        int x;
        int y;
        bool acrossTheEdge; // halfway between column 0 and column 1023
    };
    const Place places[4] = {{0, 0, false}, {0, 1023, false}, {100, 200, false}, {0, 200, true}};
    for (int k = 0; k < 8; k++) {
        const unsigned char* bits = k < 4 ? label : lettering;
        const Place& place = places[k % 4];
        for (int channel = 0; channel < 3; channel++) {
            double expected = byte(bits, place.x, place.y, channel);
            if (place.acrossTheEdge)
                expected = (expected + byte(bits, 1023, place.y, channel)) / 2;
            EXPECT_NEAR(seen[k * 4 + channel], expected, 1.5 / 255) << "pixel " << k << " channel " << channel;
        }
    }
}

} // namespace
