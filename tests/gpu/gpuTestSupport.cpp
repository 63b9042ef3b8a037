#include "gpuTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "gpu/shaderProgram.h"
#include "tests/support/testGLContext.h"

namespace gputest {

bool ensureContext()
{
    // Mesa's on-disk shader cache skips the compiler for a source it has seen
    // in an earlier run, and the compile log is then empty: the tests read
    // the logs, so every shader is compiled for real.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    static const bool made = createTestGLContext(width, height);
    if (made)
        glViewport(0, 0, width, height);
    return made;
}

std::string captureStdout(const std::function<void()>& action)
{
    fflush(stdout);
    testing::internal::CaptureStdout();
    action();
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

GLuint buildFromText(const std::string& source, std::string* report)
{
    const char* text = source.c_str();
    GLuint program = 0;
    const std::string printed = captureStdout([&] { program = buildProgram(&text); });
    if (report != nullptr)
        *report = printed;
    return program;
}

std::vector<float> readFloatTexture(GLuint texture, int w, int h)
{
    std::vector<float> texels(static_cast<size_t>(w) * h * 4, -1.0f);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return texels;
}

std::vector<unsigned char> readByteTexture(GLuint texture, int w, int h)
{
    std::vector<unsigned char> texels(static_cast<size_t>(w) * h * 4, 0);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return texels;
}

void writeFloatTexture(GLuint texture, const std::vector<float>& rgba)
{
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_FLOAT, rgba.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

std::vector<unsigned char> readWindow()
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 0);
    entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

GLuint boundTexture(GLenum unit)
{
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    entry<PFNGLACTIVETEXTUREPROC>("glActiveTexture")(unit);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    entry<PFNGLACTIVETEXTUREPROC>("glActiveTexture")(static_cast<GLenum>(active));
    return static_cast<GLuint>(bound);
}

} // namespace gputest

#include <algorithm>
#include <cmath>

#include "gpu/renderResources.h"

namespace gputest {

void PipelineTest::SetUp()
{
    if (!ensureContext())
        GTEST_SKIP() << "no GL context";
    renderState = RenderState{};
    initReport = captureStdout([] { initResourcesSized(width, height); });
}

int shownByte(double average)
{
    const double shown = std::pow(std::max(average, 0.0), 1.0 / 2.2);
    return static_cast<int>(std::lround(255.0 * std::min(shown, 1.0)));
}

} // namespace gputest
