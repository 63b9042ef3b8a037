#include "shaderProbe.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <map>
#include <regex>
#include <stdexcept>

#include "shaders/shaderSources.h"
#include "tests/support/testGLContext.h"

namespace probe {

namespace {

// Input texels are read per case and row; the probe's own samplers sit on a
// unit the path tracer does not use.
const char* const probePrelude =
    "\nuniform sampler2D ti;\n"
    "vec4 arg(int j){return texelFetch(ti,ivec2(gl_FragCoord.xy)+ivec2(0,j),0);}\n";

struct GlState {
    GLuint label = 0;
    GLuint lettering = 0;
    GLuint inputs = 0;
    GLuint target = 0;
    GLuint earlier = 0;
    GLuint framebuffer = 0;
    std::map<std::string, GLuint> programs;
};

GlState& gl()
{
    static GlState state;
    return state;
}

std::string shaderLog(GLuint shader)
{
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    return log;
}

std::string programLog(GLuint program)
{
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return log;
}

GLuint program(const std::string& testMain)
{
    auto& cache = gl().programs;
    if (auto found = cache.find(testMain); found != cache.end())
        return found->second;
    if (const std::string at = macroBeforeCloseParen(testMain); !at.empty())
        throw std::runtime_error("test main puts a macro name before ')': " + at);

    const std::string text = std::string(pathTracerLibrarySource) + probePrelude + testMain;
    const char* source = text.c_str();
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled)
        throw std::runtime_error("probe does not compile:\n" + shaderLog(shader));
    const GLuint linked = glCreateProgram();
    glAttachShader(linked, shader);
    glLinkProgram(linked);
    GLint ok = 0;
    glGetProgramiv(linked, GL_LINK_STATUS, &ok);
    if (!ok)
        throw std::runtime_error("probe does not link:\n" + programLog(linked));
    cache.emplace(testMain, linked);
    return linked;
}

void upload(GLuint& texture, GLenum unit, const std::uint8_t* rgba, int size)
{
    if (texture == 0)
        glGenTextures(1, &texture);
    glActiveTexture(unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glActiveTexture(GL_TEXTURE0);
}

void floatTexture(GLuint& texture, int w, int h, const float* data)
{
    if (texture == 0)
        glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, w, h, 0, GL_RGBA, GL_FLOAT, data);
}

} // namespace

bool ready()
{
    static const bool made = [] {
        if (!createTestGLContext(64, 64))
            return false;
        glGenFramebuffers(1, &gl().framebuffer);
        resetTextures();
        return true;
    }();
    return made;
}

bool compiles(const std::string& text, std::string* log)
{
    const char* source = text.c_str();
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (log != nullptr)
        *log = shaderLog(shader);
    glDeleteShader(shader);
    return compiled != 0;
}

std::vector<std::uint8_t> uniformTexture(int size, std::uint8_t value)
{
    return std::vector<std::uint8_t>(static_cast<size_t>(size) * size * 4, value);
}

void setLabel(const std::vector<std::uint8_t>& rgba, int size)
{
    upload(gl().label, GL_TEXTURE1, rgba.data(), size);
}

void setLettering(const std::vector<std::uint8_t>& rgba, int size)
{
    upload(gl().lettering, GL_TEXTURE2, rgba.data(), size);
}

void resetTextures()
{
    const auto white = uniformTexture(4, 255);
    setLabel(white, 4);
    setLettering(white, 4);
}

std::vector<Vec3> run(const std::string& testMain, const std::vector<std::vector<Vec4>>& cases,
                      const Uniforms& uniforms, const EarlierSum& earlier)
{
    if (cases.empty())
        return {};
    const GLuint linked = program(testMain);
    const int count = static_cast<int>(cases.size());
    size_t rows = 1;
    for (const auto& c : cases)
        rows = std::max(rows, c.size());

    // Inputs: column k holds case k's vec4s, row j the j-th of them.
    std::vector<float> texels(rows * static_cast<size_t>(count) * 4, 0.0f);
    for (int k = 0; k < count; k++)
        for (size_t j = 0; j < cases[k].size(); j++)
            for (int i = 0; i < 4; i++)
                texels[(j * count + k) * 4 + i] = cases[k][j][i];
    GlState& state = gl();
    glActiveTexture(GL_TEXTURE3);
    floatTexture(state.inputs, count, static_cast<int>(rows), texels.data());
    glActiveTexture(GL_TEXTURE0);
    floatTexture(state.target, count, 1, nullptr);
    std::vector<float> sums(static_cast<size_t>(count) * 4, 0.0f);
    for (size_t k = 0; k < earlier.size() && k < static_cast<size_t>(count); k++)
        for (int i = 0; i < 4; i++)
            sums[k * 4 + i] = earlier[k][i];
    floatTexture(state.earlier, count, 1, sums.data());

    glBindFramebuffer(GL_FRAMEBUFFER, state.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, state.target, 0);
    glBindTexture(GL_TEXTURE_2D, state.earlier);
    glViewport(0, 0, count, 1);
    glUseProgram(linked);
    glUniform3f(glGetUniformLocation(linked, "u"), uniforms.width, uniforms.height, uniforms.samples);
    glUniform1i(glGetUniformLocation(linked, "fr"), 0);
    glUniform1i(glGetUniformLocation(linked, "lb"), 1);
    glUniform1i(glGetUniformLocation(linked, "st"), 2);
    glUniform1i(glGetUniformLocation(linked, "ti"), 3);
    glRects(-1, -1, 1, 1);

    std::vector<float> out(static_cast<size_t>(count) * 4);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, count, 1, GL_RGBA, GL_FLOAT, out.data());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (const GLenum error = glGetError(); error != GL_NO_ERROR)
        throw std::runtime_error("GL error " + std::to_string(error) + " in a probe");

    std::vector<Vec3> results(static_cast<size_t>(count));
    for (int k = 0; k < count; k++)
        results[k] = {out[k * 4], out[k * 4 + 1], out[k * 4 + 2]};
    return results;
}

std::string entryText()
{
    const std::string full = pathTracerSource;
    return full.substr(std::string(pathTracerLibrarySource).size());
}

std::string macroBeforeCloseParen(const std::string& text)
{
    std::string code = std::regex_replace(text, std::regex("//[^\n]*"), "");
    // Only what follows the definitions matters.
    const std::string marker = "#define q(";
    if (const size_t at = code.find(marker); at != std::string::npos)
        code = code.substr(code.find('\n', at) + 1);
    std::smatch match;
    if (std::regex_search(code, match, std::regex("\\b[xq]\\s*\\)")))
        return code.substr(match.position(0) > 30 ? match.position(0) - 30 : 0, 40);
    return {};
}

} // namespace probe
