// buildProgram: the console report and the program it returns.
#include <gtest/gtest.h>

#include "gpuTestSupport.h"

using namespace gputest;

namespace {

const std::string cleanSource = "#version 460\nout vec4 c;void main(){c=vec4(0.25,0.5,0.75,1);}";

// The compile log of the one shader attached to a program, read straight from
// the driver, with no length limit.
std::string driverLog(GLuint program)
{
    GLuint shader = 0;
    GLsizei count = 0;
    entry<PFNGLGETATTACHEDSHADERSPROC>("glGetAttachedShaders")(program, 1, &count, &shader);
    EXPECT_EQ(count, 1);
    GLint length = 0;
    entry<PFNGLGETSHADERIVPROC>("glGetShaderiv")(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length), '\0');
    GLsizei written = 0;
    entry<PFNGLGETSHADERINFOLOGPROC>("glGetShaderInfoLog")(shader, length, &written, log.data());
    log.resize(static_cast<size_t>(written));
    return log;
}

GLint linkStatus(GLuint program)
{
    GLint status = 0;
    entry<PFNGLGETPROGRAMIVPROC>("glGetProgramiv")(program, GL_LINK_STATUS, &status);
    return status;
}

// The clean shaders' colour (0.25, 0.5, 0.75, 1) in the window, give or take
// the driver's rounding.
void expectShaderColour(const std::vector<unsigned char>& pixel)
{
    const int expected[] = {64, 128, 191, 255};
    ASSERT_EQ(pixel.size(), 4u);
    for (int i = 0; i < 4; i++)
        EXPECT_NEAR(pixel[i], expected[i], 1) << "channel " << i;
}

std::string heading(GLuint program)
{
    return "SHADER COMPILE LOG (Prog " + std::to_string(program) + "):\n";
}

// Draws a full-window rectangle with the program and returns the bottom-left
// pixel of the window.
std::vector<unsigned char> drawWith(GLuint program)
{
    entry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, 0);
    entry<PFNGLUSEPROGRAMPROC>("glUseProgram")(program);
    glRects(-1, -1, 1, 1);
    const std::vector<unsigned char> window = readWindow();
    return {window.begin(), window.begin() + 4};
}

class BuildProgram : public testing::Test {
protected:
    void SetUp() override
    {
        if (!ensureContext())
            GTEST_SKIP() << "no GL context";
    }
};

TEST_F(BuildProgram, CleanCompilePrintsOneOkLineWithTheDriversName)
{
    // Two programs, so that a running index or a stale name would show.
    std::string first, second;
    const GLuint a = buildFromText(cleanSource, &first);
    const GLuint b = buildFromText(cleanSource, &second);

    ASSERT_NE(a, b);
    EXPECT_EQ(first, "Shader prog " + std::to_string(a) + ": OK\n");
    EXPECT_EQ(second, "Shader prog " + std::to_string(b) + ": OK\n");
    EXPECT_TRUE(entry<PFNGLISPROGRAMPROC>("glIsProgram")(a));
    EXPECT_EQ(linkStatus(a), GL_TRUE);
    expectShaderColour(drawWith(a));
}

// Any non-empty log is printed under the heading, verbatim, followed by one
// newline, whether the shader compiled or not.
TEST_F(BuildProgram, NonEmptyLogIsPrintedVerbatimUnderTheHeading)
{
    struct Case {
        const char* what;
        std::string source;
        const char* logMentions;
        bool compiles;
    };
    const Case cases[] = {
        {"warning only", "#version 460\n#extension GL_rezuro_none : warn\n" + cleanSource.substr(13),
         "warning", true},
        // Printed as a format, %s and %n would read and write through
        // arguments that are not there.
        {"percent signs", "#version 460\n#error 100%s %n %d%%\n" + cleanSource.substr(13), "100%s %n %d%%",
         false},
        {"compile error", "#version 460\nout vec4 c;void main(){c=vec4(1)+nope;}", "nope", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        std::string report;
        const GLuint program = buildFromText(test.source, &report);
        const std::string log = driverLog(program);

        ASSERT_NE(program, 0u);
        ASSERT_NE(log.find(test.logMentions), std::string::npos) << log;
        EXPECT_EQ(report, heading(program) + log + "\n");
        EXPECT_EQ(linkStatus(program) == GL_TRUE, test.compiles);
    }
}

TEST_F(BuildProgram, ProgramWithWarningsStillWorks)
{
    std::string report;
    const GLuint program =
        buildFromText("#version 460\n#extension GL_rezuro_none : warn\n" + cleanSource.substr(13), &report);
    ASSERT_EQ(report.rfind(heading(program), 0), 0u) << report;
    expectShaderColour(drawWith(program));
}

// A log longer than the 60000-byte buffer is cut to 59999 characters, which
// here leaves it without a final newline: the report still adds exactly one.
TEST_F(BuildProgram, OverlongLogIsCutToTheBufferAndEndsWithOneNewline)
{
    std::string source = "#version 460\n";
    for (int i = 0; i < 1200; i++)
        source += "#extension GL_rezuro_unknown_extension_" + std::to_string(i) + " : warn\n";
    source += cleanSource.substr(13);

    std::string report;
    const GLuint program = buildFromText(source, &report);
    const std::string log = driverLog(program);
    ASSERT_GT(log.size(), 60000u);
    const std::string cut = log.substr(0, 59999);
    ASSERT_NE(cut.back(), '\n');

    EXPECT_EQ(report, heading(program) + cut + "\n");
    expectShaderColour(drawWith(program));
}

} // namespace
