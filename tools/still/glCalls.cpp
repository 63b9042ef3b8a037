#include "tools/still/glCalls.h"

#include "tools/still/errors.h"

#include <vector>

namespace still::gl {
namespace {

template <typename Function>
Function lookUp(const char* name)
{
    const PROC address = wglGetProcAddress(name);
    if (address == nullptr) {
        throw StillError(std::string("the OpenGL driver does not offer ") + name);
    }
    // Through void(*)(), the one function type that converts to all others
    // without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

typedef void(APIENTRY* GetObjectIv)(GLuint, GLenum, GLint*);
typedef void(APIENTRY* GetInfoLog)(GLuint, GLsizei, GLsizei*, char*);
typedef void(APIENTRY* GetAttachedShaders)(GLuint, GLsizei, GLsizei*, GLuint*);
typedef void(APIENTRY* BindFramebuffer)(GLenum, GLuint);
typedef void(APIENTRY* FramebufferTexture2D)(GLenum, GLenum, GLenum, GLuint, GLint);
typedef GLenum(APIENTRY* CheckFramebufferStatus)(GLenum);

std::string infoLog(const char* getLength, const char* getLog, GLuint object)
{
    GLint length = 0;
    lookUp<GetObjectIv>(getLength)(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 1) {
        return {};
    }
    std::vector<char> text(static_cast<std::size_t>(length), '\0');
    lookUp<GetInfoLog>(getLog)(object, length, nullptr, text.data());
    std::string log(text.data());
    while (!log.empty() && (log.back() == '\n' || log.back() == ' ')) {
        log.pop_back();
    }
    return log;
}

} // namespace

void getProgramiv(GLuint program, GLenum name, GLint* value) { lookUp<GetObjectIv>("glGetProgramiv")(program, name, value); }

void getShaderiv(GLuint shader, GLenum name, GLint* value) { lookUp<GetObjectIv>("glGetShaderiv")(shader, name, value); }

std::string programInfoLog(GLuint program) { return infoLog("glGetProgramiv", "glGetProgramInfoLog", program); }

std::string shaderInfoLog(GLuint shader) { return infoLog("glGetShaderiv", "glGetShaderInfoLog", shader); }

int attachedShaders(GLuint program, GLuint* shaders, int most)
{
    GLsizei count = 0;
    lookUp<GetAttachedShaders>("glGetAttachedShaders")(program, most, &count, shaders);
    return count;
}

void bindFramebuffer(GLenum target, GLuint framebuffer)
{
    lookUp<BindFramebuffer>("glBindFramebuffer")(target, framebuffer);
}

void framebufferTexture2D(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture, GLint level)
{
    lookUp<FramebufferTexture2D>("glFramebufferTexture2D")(target, attachment, textureTarget, texture, level);
}

GLenum checkFramebufferStatus(GLenum target)
{
    return lookUp<CheckFramebufferStatus>("glCheckFramebufferStatus")(target);
}

} // namespace still::gl
