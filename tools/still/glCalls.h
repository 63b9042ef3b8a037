// The GL calls the tool makes beyond OpenGL 1.1, looked up by name as the
// program's own code does, and the constants that an OpenGL 1.1 header lacks.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <string>

#include "gpu/glEntryPoints.h" // GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 and the pipeline's other values

#ifndef GL_FRAMEBUFFER_COMPLETE
#define GL_FRAMEBUFFER_COMPLETE 0x8CD5
#endif
#ifndef GL_COMPILE_STATUS
#define GL_COMPILE_STATUS 0x8B81
#endif
#ifndef GL_LINK_STATUS
#define GL_LINK_STATUS 0x8B82
#endif
#ifndef GL_INFO_LOG_LENGTH
#define GL_INFO_LOG_LENGTH 0x8B84
#endif

namespace still::gl {

// Each throws StillError when the driver does not offer the entry point.
void getProgramiv(GLuint program, GLenum name, GLint* value);
void getShaderiv(GLuint shader, GLenum name, GLint* value);
std::string programInfoLog(GLuint program);
std::string shaderInfoLog(GLuint shader);
// The shaders attached to a program (at most `most` of them).
int attachedShaders(GLuint program, GLuint* shaders, int most);
void bindFramebuffer(GLenum target, GLuint framebuffer);
void framebufferTexture2D(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture, GLint level);
GLenum checkFramebufferStatus(GLenum target);

} // namespace still::gl
