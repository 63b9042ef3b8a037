#include "gpu/framePasses.h"

#include "gpu/glEntryPoints.h"
#include "gpu/renderResources.h"
#include "host/config.h"

namespace {

// Uniform locations are looked up by name right before each value is set;
// none is stored.
void setVec3(GLuint program, const char* name, GLfloat x, GLfloat y, GLfloat z)
{
    const GLint location = glEntry<GlGetUniformLocationFn>("glGetUniformLocation")(program, name);
    glEntry<GlUniform3fFn>("glUniform3f")(location, x, y, z);
}

void setInt(GLuint program, const char* name, GLint value)
{
    const GLint location = glEntry<GlGetUniformLocationFn>("glGetUniformLocation")(program, name);
    glEntry<GlUniform1iFn>("glUniform1i")(location, value);
}

void setSizeAndCount(GLuint program)
{
    setVec3(program, "u", (GLfloat)renderState.width, (GLfloat)renderState.height, renderState.sampleCount);
}

} // namespace

void accumulatePass()
{
    const GLuint program = renderState.pathTracerProgram;
    glEntry<GlBindFramebufferFn>("glBindFramebuffer")(GL_FRAMEBUFFER, renderState.framebuffer);
    // The new sum goes to textures[pingIndex]; the previous sum is read from
    // the other one, so no pixel reads what the pass writes.
    glEntry<GlFramebufferTexture2DFn>("glFramebufferTexture2D")(
        GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, renderState.textures[renderState.pingIndex], 0);
    glBindTexture(GL_TEXTURE_2D, renderState.textures[1 - renderState.pingIndex]);
    glEntry<GlUseProgramFn>("glUseProgram")(program);
    setSizeAndCount(program);
    setInt(program, "fr", 0);
    setInt(program, "lb", 1);
    setInt(program, "st", 2);
    glRects(-1, -1, 1, 1);
}

void presentPass()
{
    const GLuint program = renderState.presentProgram;
    glEntry<GlBindFramebufferFn>("glBindFramebuffer")(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, renderState.textures[1 - renderState.pingIndex]);
    glEntry<GlUseProgramFn>("glUseProgram")(program);
    setSizeAndCount(program);
    setInt(program, "fr", 0);
    glRects(-1, -1, 1, 1);
}

void renderFrame(float elapsedSeconds)
{
    // Compared in single precision, with the count before this frame's sample.
    if (limitsEnforced &&
        (elapsedSeconds >= (float)maxPrecalcSeconds || renderState.sampleCount >= (float)maxFrames))
        return;

    renderState.sampleCount += 1.0f;
    accumulatePass();
    renderState.pingIndex = 1 - renderState.pingIndex;
    presentPass();
}
