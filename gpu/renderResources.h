// The GPU objects of the frame pipeline, made once at start-up.
#pragma once

#include <windows.h>
#include <GL/gl.h>

struct RenderState {
    GLuint pathTracerProgram;
    GLuint presentProgram;
    GLuint textures[4]; // accumulation A, accumulation B, label, lettering
    GLuint framebuffer;
    int pingIndex;
    float sampleCount;
    // Size of the accumulation buffers and of u.xy: the program's fixed
    // 1920 x 1080, or the size the still renderer asks for.
    GLsizei width;
    GLsizei height;
};

extern RenderState renderState;

// Builds both programs, creates the accumulation buffers, paints and uploads
// the label and lettering textures and creates the framebuffer object.
void initResources();
// The same for accumulation buffers of another size (the still renderer).
void initResourcesSized(GLsizei width, GLsizei height);
