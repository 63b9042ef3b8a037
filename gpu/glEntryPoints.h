// GL entry points newer than OpenGL 1.1, reached by name.
//
// Every such function is looked up with wglGetProcAddress immediately before
// each call and the address is called at once; no addresses are kept. A name
// the driver does not offer is reported once on the console, the quit message
// is posted so that the run loop ends normally, and a do-nothing stand-in of
// the same signature (returning zero) is called instead of a null address.
#pragma once

#include <windows.h>
#include <GL/gl.h>

// GL/gl.h may stop at OpenGL 1.1, so the newer values are given here; where the
// system header already has them the values are the same.
#ifndef GL_FRAGMENT_SHADER
#define GL_FRAGMENT_SHADER 0x8B30
#endif
#ifndef GL_RGBA32F
#define GL_RGBA32F 0x8814
#endif
#ifndef GL_TEXTURE0
#define GL_TEXTURE0 0x84C0
#endif
#ifndef GL_TEXTURE1
#define GL_TEXTURE1 0x84C1
#endif
#ifndef GL_TEXTURE2
#define GL_TEXTURE2 0x84C2
#endif
#ifndef GL_FRAMEBUFFER
#define GL_FRAMEBUFFER 0x8D40
#endif
#ifndef GL_COLOR_ATTACHMENT0
#define GL_COLOR_ATTACHMENT0 0x8CE0
#endif

// The signatures of the entry points the pipeline uses.
typedef GLuint(APIENTRY* GlCreateProgramFn)();
typedef GLuint(APIENTRY* GlCreateShaderFn)(GLenum type);
typedef void(APIENTRY* GlShaderSourceFn)(GLuint shader, GLsizei count, const char* const* strings,
                                          const GLint* lengths);
typedef void(APIENTRY* GlCompileShaderFn)(GLuint shader);
typedef void(APIENTRY* GlAttachShaderFn)(GLuint program, GLuint shader);
typedef void(APIENTRY* GlGetInfoLogArbFn)(GLuint object, GLsizei maxLength, GLsizei* length, char* log);
typedef void(APIENTRY* GlLinkProgramFn)(GLuint program);
typedef void(APIENTRY* GlActiveTextureFn)(GLenum unit);
typedef void(APIENTRY* GlGenFramebuffersFn)(GLsizei count, GLuint* names);
typedef void(APIENTRY* GlBindFramebufferFn)(GLenum target, GLuint framebuffer);
typedef void(APIENTRY* GlFramebufferTexture2DFn)(GLenum target, GLenum attachment, GLenum textureTarget,
                                                  GLuint texture, GLint level);
typedef void(APIENTRY* GlUseProgramFn)(GLuint program);
typedef GLint(APIENTRY* GlGetUniformLocationFn)(GLuint program, const char* name);
typedef void(APIENTRY* GlUniform3fFn)(GLint location, GLfloat v0, GLfloat v1, GLfloat v2);
typedef void(APIENTRY* GlUniform1iFn)(GLint location, GLint v0);

// The address wglGetProcAddress gives for name, or null when the driver lacks
// it; a missing name is reported (once per name) and the quit message posted.
PROC lookUpEntryPoint(const char* name);

// What a missing entry point is replaced with: same signature, does nothing,
// returns zero.
template <typename Fn>
struct MissingEntryPoint;

template <typename R, typename... Args>
struct MissingEntryPoint<R(APIENTRY*)(Args...)> {
    static R APIENTRY call(Args...) { return R(); }
};

// Looks name up now and returns something safe to call at once.
template <typename Fn>
inline Fn glEntry(const char* name)
{
    const PROC address = lookUpEntryPoint(name);
    if (address == nullptr)
        return &MissingEntryPoint<Fn>::call;
    // Through void(*)(), the generic function pointer type, as GL loaders do.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
}
