#include "gpu/shaderProgram.h"

#include <cstdio>

#include "gpu/glEntryPoints.h"

GLuint buildProgram(const char* const* source)
{
    const GLuint program = glEntry<GlCreateProgramFn>("glCreateProgram")();
    const GLuint shader = glEntry<GlCreateShaderFn>("glCreateShader")(GL_FRAGMENT_SHADER);
    glEntry<GlShaderSourceFn>("glShaderSource")(shader, 1, source, nullptr);
    glEntry<GlCompileShaderFn>("glCompileShader")(shader);
    glEntry<GlAttachShaderFn>("glAttachShader")(program, shader);

    // The driver cuts the log so that it and its terminating zero fit.
    char info[60000];
    info[0] = 0;
    glEntry<GlGetInfoLogArbFn>("glGetInfoLogARB")(shader, sizeof(info), nullptr, info);
    info[sizeof(info) - 1] = 0;

    // The log's length alone decides: warnings and errors are both printed
    // under the heading. The log is data, never a format.
    if (info[0] != 0)
        printf("SHADER COMPILE LOG (Prog %i):\n%s\n", (int)program, info);
    else
        printf("Shader prog %i: OK\n", (int)program);
    fflush(stdout);

    glEntry<GlLinkProgramFn>("glLinkProgram")(program);
    return program;
}
