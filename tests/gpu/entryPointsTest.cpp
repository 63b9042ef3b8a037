// A GL entry point that the driver does not offer: reported once, the run is
// asked to end, and nothing calls through a null address.
#include <gtest/gtest.h>

#include <platformTesting.h>

#include "gpu/framePasses.h"
#include "gpu/renderResources.h"
#include "gpuTestSupport.h"

using namespace gputest;

namespace {

size_t occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        count++;
    return count;
}

// Takes every pending message; true when WM_QUIT with exit code 0 was among them.
bool quitWasPosted()
{
    bool quit = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT && msg.wParam == 0)
            quit = true;
    return quit;
}

class MissingEntryPoint : public testing::Test {
protected:
    void SetUp() override
    {
        if (!ensureContext())
            GTEST_SKIP() << "no GL context";
        quitWasPosted();
    }
    void TearDown() override { platformClearHiddenProcAddresses(); }
};

// Set-up and two frames with each of the pipeline's names missing in turn.
TEST_F(MissingEntryPoint, EachMissingNameIsReportedOnceAndEndsTheRun)
{
    const char* const names[] = {
        "glCreateProgram",   "glCreateShader",    "glShaderSource",         "glCompileShader",
        "glAttachShader",    "glGetInfoLogARB",   "glLinkProgram",          "glActiveTexture",
        "glGenFramebuffers", "glBindFramebuffer", "glFramebufferTexture2D", "glUseProgram",
        "glGetUniformLocation", "glUniform3f",    "glUniform1i",
    };
    // Drawn in place of the path tracer, which would only make the test slow.
    const GLuint small = buildFromText("#version 460\nout vec3 c;void main(){c=vec3(1);}");
    for (const char* name : names) {
        SCOPED_TRACE(name);
        platformHideProcAddress(name);
        renderState = RenderState{};
        const std::string printed = captureStdout([small] {
            initResourcesSized(width, height);
            renderState.pathTracerProgram = small;
            renderFrame(0.0f);
            renderFrame(0.0f);
        });
        platformClearHiddenProcAddresses();

        EXPECT_EQ(occurrences(printed, "missing OpenGL entry point: " + std::string(name) + "\n"), 1u) << printed;
        EXPECT_EQ(occurrences(printed, "missing OpenGL entry point"), 1u) << printed;
        EXPECT_EQ(renderState.sampleCount, 2.0f) << "the frames went on";
        EXPECT_TRUE(quitWasPosted());
    }
}

// With every name present nothing is reported and no quit is posted.
TEST_F(MissingEntryPoint, NothingIsReportedWhenAllNamesArePresent)
{
    const GLuint small = buildFromText("#version 460\nout vec3 c;void main(){c=vec3(1);}");
    renderState = RenderState{};
    const std::string printed = captureStdout([small] {
        initResourcesSized(width, height);
        renderState.pathTracerProgram = small;
        renderFrame(0.0f);
    });
    EXPECT_EQ(printed.find("missing"), std::string::npos) << printed;
    EXPECT_FALSE(quitWasPosted());
}

} // namespace
