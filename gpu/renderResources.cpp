#include "gpu/renderResources.h"

#include "gpu/glEntryPoints.h"
#include "gpu/shaderProgram.h"
#include "host/config.h"
#include "shaders/shaderSources.h"
#include "textures/labelTexture.h"
#include "textures/letteringTexture.h"

RenderState renderState;

namespace {

const GLsizei paintedSize = 1024;

void allocateAccumulationBuffer(GLuint texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, renderState.width, renderState.height, 0, GL_RGBA, GL_FLOAT,
                 nullptr);
}

// Uploads a painted 1024 x 1024 bitmap to unit `unit` as it lies in memory:
// the bottom row becomes t = 0, GDI's blue byte the red channel. A null bitmap
// leaves the texture allocated without data.
void uploadPainted(GLenum unit, GLuint texture, const void* bits)
{
    glEntry<GlActiveTextureFn>("glActiveTexture")(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, paintedSize, paintedSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, bits);
    glEntry<GlActiveTextureFn>("glActiveTexture")(GL_TEXTURE0);
}

// The first accumulate pass reads buffer B as the previous sum, so both
// buffers are cleared to zero through the framebuffer object; afterwards
// nothing stays attached and the window's framebuffer is bound again.
// The clear colour and the scissor test are the caller's and are put back.
void clearAccumulationBuffers()
{
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    const GLboolean scissored = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

    glEntry<GlBindFramebufferFn>("glBindFramebuffer")(GL_FRAMEBUFFER, renderState.framebuffer);
    for (int i = 0; i < 2; i++) {
        glEntry<GlFramebufferTexture2DFn>("glFramebufferTexture2D")(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                                                    GL_TEXTURE_2D, renderState.textures[i], 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glEntry<GlFramebufferTexture2DFn>("glFramebufferTexture2D")(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                                                GL_TEXTURE_2D, 0, 0);
    glEntry<GlBindFramebufferFn>("glBindFramebuffer")(GL_FRAMEBUFFER, 0);

    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    if (scissored)
        glEnable(GL_SCISSOR_TEST);
}

} // namespace

void initResources()
{
    initResourcesSized((GLsizei)renderWidth, (GLsizei)renderHeight);
}

void initResourcesSized(GLsizei width, GLsizei height)
{
    renderState.width = width;
    renderState.height = height;
    renderState.pingIndex = 0;
    renderState.sampleCount = 0.0f;

    const char* const pathTracer = pathTracerSource;
    const char* const present = presentShaderSource;
    renderState.pathTracerProgram = buildProgram(&pathTracer);
    renderState.presentProgram = buildProgram(&present);

    glGenTextures(4, renderState.textures);
    // Both on unit 0; B stays bound there until the first frame.
    allocateAccumulationBuffer(renderState.textures[0]);
    allocateAccumulationBuffer(renderState.textures[1]);

    uploadPainted(GL_TEXTURE1, renderState.textures[2], paintLabelTexture());
    uploadPainted(GL_TEXTURE2, renderState.textures[3], paintLetteringTexture());

    glEntry<GlGenFramebuffersFn>("glGenFramebuffers")(1, &renderState.framebuffer);
    clearAccumulationBuffers();
}
