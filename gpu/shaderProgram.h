// Turns the text of one GLSL fragment shader into a linked program.
#pragma once

#include <windows.h>
#include <GL/gl.h>

// source: the address of the pointer to the zero-terminated shader text.
// Prints the compile log, or an OK line, and returns the program's GL name.
GLuint buildProgram(const char* const* source);
