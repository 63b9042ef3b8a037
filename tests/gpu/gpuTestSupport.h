// Shared helpers of the frame pipeline tests: one small offscreen GL context
// per process, test programs, and reading and writing GL images.
#pragma once

#include <windows.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gpu/glEntryPoints.h"

namespace gputest {

// Every test renders at this size: the window and the accumulation buffers.
inline constexpr int width = 8;
inline constexpr int height = 4;

// Creates the context on first use and makes the viewport cover the window.
// Returns false when no context could be made.
bool ensureContext();

// Everything `action` writes to standard output while it runs.
std::string captureStdout(const std::function<void()>& action);

// buildProgram on `source`, with its console report captured into *report
// when report is not null.
GLuint buildFromText(const std::string& source, std::string* report = nullptr);

// The RGBA float texels of a texture, rows bottom-up.
std::vector<float> readFloatTexture(GLuint texture, int w = width, int h = height);
// The RGBA byte texels of a texture, rows bottom-up.
std::vector<unsigned char> readByteTexture(GLuint texture, int w, int h);
// Replaces the texels of an accumulation buffer (w x h RGBA floats).
void writeFloatTexture(GLuint texture, const std::vector<float>& rgba);
// The window's back buffer, RGBA bytes, rows bottom-up.
std::vector<unsigned char> readWindow();

// The texture bound to GL_TEXTURE_2D on a unit; the active unit is restored.
GLuint boundTexture(GLenum unit);

// A GL function of any version through the pipeline's own lookup.
template <typename Fn>
Fn entry(const char* name)
{
    return glEntry<Fn>(name);
}

} // namespace gputest

namespace gputest {

// A test that needs the whole pipeline: the context, and the resources made
// at the test size (with their console report captured, not shown).
class PipelineTest : public testing::Test {
protected:
    void SetUp() override;
    std::string initReport;
};

// The expected window byte for an average shown through the display gamma.
int shownByte(double average);

} // namespace gputest
