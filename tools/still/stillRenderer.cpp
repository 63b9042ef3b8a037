#include "tools/still/stillRenderer.h"

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "tools/still/atomicFile.h"
#include "tools/still/errors.h"
#include "tools/still/glCalls.h"
#include "tools/still/pngWriter.h"
#include "tools/still/stdoutSilencer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace still {
namespace {

// Tiles are whole bands of this many rows: GPUs shade pixels in 2x2 quads and
// llvmpipe in 4x4 blocks, so a thinner tile pays for lanes it throws away.
constexpr int rowGranule = 16;

std::string hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

void checkGlError(const char* during)
{
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        // Drain the rest so that the message names the first.
        while (glGetError() != GL_NO_ERROR) {
        }
        throw StillError(std::string("OpenGL reported error ") + hex(error) + " " + during);
    }
}

void checkSizeFits(int width, int height)
{
    GLint textureMost = 0;
    GLint viewportMost[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureMost);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportMost);
    const int mostWide = std::min(textureMost, viewportMost[0]);
    const int mostHigh = std::min(textureMost, viewportMost[1]);
    if (width > mostWide || height > mostHigh) {
        throw StillError("this OpenGL driver renders at most " + std::to_string(mostWide) + "x" +
                         std::to_string(mostHigh) + " pixels, not " + std::to_string(width) + "x" +
                         std::to_string(height));
    }
}

// The program's builder reports compile logs but never checks the outcome.
void checkProgram(GLuint program, const char* what)
{
    if (program == 0) {
        throw StillError(std::string("the ") + what + " program was not created");
    }
    GLint linked = 0;
    gl::getProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) {
        return;
    }
    std::string message = std::string("the ") + what + " shader does not build";
    GLuint shaders[4] = {};
    const int count = gl::attachedShaders(program, shaders, 4);
    for (int i = 0; i < count; ++i) {
        GLint compiled = 0;
        gl::getShaderiv(shaders[i], GL_COMPILE_STATUS, &compiled);
        if (!compiled) {
            message += "\ncompile log:\n" + gl::shaderInfoLog(shaders[i]);
        }
    }
    const std::string linkLog = gl::programInfoLog(program);
    if (!linkLog.empty()) {
        message += "\nlink log:\n" + linkLog;
    }
    throw StillError(message);
}

void clearAccumulation()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl::bindFramebuffer(GL_FRAMEBUFFER, renderState.framebuffer);
    for (int i = 0; i < 2; ++i) {
        gl::framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, renderState.textures[i], 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    gl::bindFramebuffer(GL_FRAMEBUFFER, 0);
}

void checkFloatTarget()
{
    gl::bindFramebuffer(GL_FRAMEBUFFER, renderState.framebuffer);
    gl::framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, renderState.textures[0], 0);
    const GLenum status = gl::checkFramebufferStatus(GL_FRAMEBUFFER);
    gl::bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        throw StillError("this OpenGL driver cannot render into 32-bit float buffers (framebuffer status " +
                         hex(status) + ")");
    }
}

// A texture's level 0 as 8-bit RGBA, the texture's first row first.
std::vector<std::uint8_t> readTexture(GLuint texture, int& width, int& height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    checkGlError("while reading a texture back");
    return rgba;
}

void writeTexturePng(GLuint texture, const std::filesystem::path& file)
{
    int width = 0;
    int height = 0;
    const auto rgba = readTexture(texture, width, height);
    // Texture row 0 is the painted picture's bottom row; the file starts with
    // the top one, so that the picture reads upright.
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = rgba.data() + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint8_t* to = rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            to[x * 3 + 0] = from[x * 4 + 0];
            to[x * 3 + 1] = from[x * 4 + 1];
            to[x * 3 + 2] = from[x * 4 + 2];
        }
    }
    writeFileAtomically(file, encodePng(width, height, rgb));
}

} // namespace

StillRenderer::StillRenderer(int width, int height, bool quiet) : width_(width), height_(height)
{
    checkSizeFits(width, height);
    while (glGetError() != GL_NO_ERROR) {
    }
    {
        StdoutSilencer silence(quiet);
        initResourcesSized(width, height);
    }
    std::fflush(stdout);
    checkProgram(renderState.pathTracerProgram, "path tracer");
    checkProgram(renderState.presentProgram, "present");
    checkFloatTarget();
    checkGlError("while setting up");
    // The passes cover the viewport; the hidden window's is not ours.
    glViewport(0, 0, width, height);
    warmUp();
}

void StillRenderer::warmUp() const
{
    // Drivers may finish compiling a program at its first draw (llvmpipe
    // does, for seconds); do that here, not in the first timed tile. The one
    // pixel drawn is cleared before rendering.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    accumulatePass();
    glFinish();
    glDisable(GL_SCISSOR_TEST);
    checkGlError("while drawing the first tile");
}

void StillRenderer::dumpTextures(const std::filesystem::path& folder) const
{
    // Unit 0 is the one the frame passes rebind every frame; units 1 and 2
    // keep the label and the lettering.
    writeTexturePng(renderState.textures[2], folder / "label.png");
    writeTexturePng(renderState.textures[3], folder / "lettering.png");
}

RenderOutcome StillRenderer::render(const RenderRequest& request, ProgressReporter& progress)
{
    using Clock = std::chrono::steady_clock;
    const auto seconds = [start = Clock::now()] { return std::chrono::duration<double>(Clock::now() - start).count(); };

    clearAccumulation();
    // The next frame draws sample number sampleCount + 1, seeded by it.
    renderState.sampleCount = static_cast<float>(request.firstSample - 1);
    glEnable(GL_SCISSOR_TEST);
    int rows = std::max(1, 16384 / width_ / rowGranule) * rowGranule;
    std::int64_t done = 0;
    while (true) {
        renderState.sampleCount += 1.0f;
        for (int y = 0; y < height_;) {
            const int tileRows = std::min(rows, height_ - y);
            const double tileStart = seconds();
            glScissor(0, y, width_, tileRows);
            accumulatePass();
            glFinish();
            const double now = seconds();
            y += tileRows;
            // Size the next tile from this one's pace, growing at most
            // fourfold at a time, in whole bands of rowGranule rows.
            const double perRow = std::max(now - tileStart, 1e-6) / tileRows;
            const double fitting = std::min(request.tileSeconds / perRow, 1e9);
            const int bands = std::clamp(static_cast<int>(fitting) / rowGranule, 1,
                                         std::max(1, tileRows * 4 / rowGranule));
            rows = bands * rowGranule;
            progress.partDone(static_cast<double>(done) + static_cast<double>(y) / height_, now);
        }
        renderState.pingIndex = 1 - renderState.pingIndex;
        ++done;
        checkGlError("while rendering");
        const double now = seconds();
        progress.sampleDone(done, now);
        if (done >= request.samples || now >= request.seconds) {
            break;
        }
    }
    glDisable(GL_SCISSOR_TEST);
    progress.finish();

    RenderOutcome outcome;
    outcome.seconds = seconds();
    SumImage& sum = outcome.sum;
    sum.width = width_;
    sum.height = height_;
    sum.firstSample = request.firstSample;
    sum.lastSample = request.firstSample + done - 1;
    sum.sampleCount = done;

    // The buffer written last; its row 0 is the picture's bottom row.
    const std::size_t rowFloats = static_cast<std::size_t>(width_) * 3;
    std::vector<float> bottomUp(rowFloats * static_cast<std::size_t>(height_));
    glBindTexture(GL_TEXTURE_2D, renderState.textures[1 - renderState.pingIndex]);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, bottomUp.data());
    checkGlError("while reading the sum back");
    sum.rgb.resize(bottomUp.size());
    for (int y = 0; y < height_; ++y) {
        std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>((height_ - 1 - y) * rowFloats),
                    rowFloats, sum.rgb.begin() + static_cast<std::ptrdiff_t>(y * rowFloats));
    }
    return outcome;
}

} // namespace still
